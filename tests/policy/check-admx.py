#!/usr/bin/env python3
"""Checks the administrative template against the program's own table of policies.

Usage: check-admx.py POLICY_TABLE_PROGRAM ADMX ADML

The program prints the policies it reads; the template must describe exactly those: the same
value names under the same key, switches as 1/0 numbers, texts as text boxes, the schedule as a
list of the program's intervals (and none), every string and presentation it names defined in
the language file. Both files must be well-formed XML.
"""
import subprocess
import sys
import xml.etree.ElementTree as ET

NS = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}


def fail(message):
    print("check-admx: " + message)
    sys.exit(1)


def table(program):
    policies, intervals, key = {}, [], None
    for line in subprocess.run([program], check=True, capture_output=True,
                               text=True).stdout.splitlines():
        fields = line.split("\t")
        if fields[0] == "interval":
            intervals.append(fields[1])
        elif fields[0] == "key":
            key = fields[1]
        else:
            policies[fields[0]] = (fields[1], fields[2])
    return policies, intervals, key


def reference(text, kind):
    prefix = "$(" + kind + "."
    if not (text and text.startswith(prefix) and text.endswith(")")):
        fail("%r is not a $(%s.name) reference" % (text, kind))
    return text[len(prefix):-1]


def main(program, admx_path, adml_path):
    policies, intervals, key = table(program)
    try:
        admx = ET.parse(admx_path).getroot()
        adml = ET.parse(adml_path).getroot()
    except ET.ParseError as error:
        fail("not well-formed: %s" % error)
    strings = {s.get("id") for s in adml.iterfind("p:resources/p:stringTable/p:string", NS)}
    presentations = {p.get("id"): p for p in
                     adml.iterfind("p:resources/p:presentationTable/p:presentation", NS)}
    categories = {c.get("name") for c in admx.iterfind("p:categories/p:category", NS)}

    def string_ref(text):
        name = reference(text, "string")
        if name not in strings:
            fail("the language file has no string %r" % name)

    for element in admx.iter():
        for attribute in ("displayName", "explainText"):
            if element.get(attribute) is not None:
                string_ref(element.get(attribute))

    described = set()
    for policy in admx.iterfind("p:policies/p:policy", NS):
        name = policy.get("name")
        if policy.get("key") != key:
            fail("%s: key %r, the program reads %r" % (name, policy.get("key"), key))
        if policy.get("class") != "Both":
            fail("%s: class %r; machine and user both set it" % (name, policy.get("class")))
        parent = policy.find("p:parentCategory", NS)
        if parent is None or parent.get("ref") not in categories:
            fail("%s: no category of this template" % name)
        elements = list(policy.iterfind("p:elements/*", NS))
        if policy.get("valueName") is not None:
            value = policy.get("valueName")
            kind = "Switch"
            on = policy.find("p:enabledValue/p:decimal", NS)
            off = policy.find("p:disabledValue/p:decimal", NS)
            if on is None or off is None or on.get("value") != "1" or off.get("value") != "0":
                fail("%s: a switch is 1 when enabled and 0 when disabled" % name)
            if elements:
                fail("%s: a switch has no elements" % name)
        else:
            if len(elements) != 1:
                fail("%s: a text policy has exactly one element" % name)
            element = elements[0]
            value = element.get("valueName")
            kind = "Text"
            shown = presentations.get(reference(policy.get("presentation"), "presentation"))
            if shown is None or [c.get("refId") for c in shown] != [element.get("id")]:
                fail("%s: its presentation does not show its element" % name)
            tag = element.tag.split("}")[1]
            if value in policies and policies[value][1] == "schedclean":
                if tag != "enum":
                    fail("%s: the schedule is a list of intervals" % name)
                offered = [s.text or "" for s in element.iterfind("p:item/p:value/p:string", NS)]
                if offered != [""] + intervals:
                    fail("%s: offers %r, the program takes %r" % (name, offered, [""] + intervals))
            elif tag != "text" or element.get("expandable") == "true":
                fail("%s: a text policy is a plain text box (REG_SZ)" % name)
        if value not in policies:
            fail("%s: the program reads no policy %r" % (name, value))
        if policies[value][0] != kind:
            fail("%s: the program reads %r as %s, the template sets %s" %
                 (name, value, policies[value][0], kind))
        if value in described:
            fail("%r is described twice" % value)
        described.add(value)
    missing = sorted(set(policies) - described)
    if missing:
        fail("the template leaves out %s" % ", ".join(missing))
    print("check-admx: %d policies match the program's table" % len(described))


if __name__ == "__main__":
    if len(sys.argv) != 4:
        fail(__doc__)
    main(*sys.argv[1:])
