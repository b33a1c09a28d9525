#pragma once
// Resource identifiers of Quillmoss.exe. Control and command identifiers live in
// src/gui/control_ids.h.
#define IDI_QUILLMOSS 101
