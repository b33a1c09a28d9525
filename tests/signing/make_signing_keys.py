#!/usr/bin/env python3
"""Makes the key pairs and signatures the signature tests use, as a C++ header, anew for each
build: no private key is ever kept in the repository.

    make_signing_keys.py OUT.h

Every signature is made by `openssl dgst -sha256 -sign`, exactly as a release is signed.
"""
import pathlib
import subprocess
import sys
import tempfile

SAMPLE = b"Quillmoss signs what it ships.\r\n\x00\xff and bytes of every kind\n"


def openssl(*args, data=None):
    return subprocess.run(["openssl", *args], input=data, check=True,
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL).stdout


def key_pair(folder, name, bits):
    private = folder / f"{name}.pem"
    openssl("genpkey", "-algorithm", "RSA", "-pkeyopt", f"rsa_keygen_bits:{bits}",
            "-out", str(private))
    public = openssl("pkey", "-in", str(private), "-pubout")
    return private, public.decode()


def sign(private, data):
    return openssl("dgst", "-sha256", "-sign", str(private), data=data)


def literal(name, data):
    body = "".join(f"\\x{b:02x}" for b in data)
    return f'inline const std::string {name}("{body}", {len(data)});\n'


def main():
    out = pathlib.Path(sys.argv[1])
    with tempfile.TemporaryDirectory() as scratch:
        folder = pathlib.Path(scratch)
        test_key, test_public = key_pair(folder, "test", 3072)
        other_key, other_public = key_pair(folder, "other", 3072)
        weak_key, weak_public = key_pair(folder, "weak", 1024)
        text = ["#pragma once\n// Made by tests/signing/make_signing_keys.py for this build.\n",
                "#include <string>\n\nnamespace qm::testing::keys {\n\n"]
        for name, pem in (("kTestPublic", test_public), ("kOtherPublic", other_public),
                          ("kWeakPublic", weak_public)):
            text.append(literal(name, pem.encode()))
        text.append(literal("kTestPrivate", test_key.read_bytes()))
        text.append(literal("kOtherPrivate", other_key.read_bytes()))
        text.append(literal("kSample", SAMPLE))
        text.append(literal("kSampleByTest", sign(test_key, SAMPLE)))
        text.append(literal("kSampleByOther", sign(other_key, SAMPLE)))
        text.append(literal("kSampleByWeak", sign(weak_key, SAMPLE)))
        text.append("\n}  // namespace qm::testing::keys\n")
    out.parent.mkdir(parents=True, exist_ok=True)
    out.write_text("".join(text))


if __name__ == "__main__":
    main()
