#pragma once
// The one function the libmpv backend module exports, and its file name.
//
// The program does not link libmpv: it loads the module, which does, on a
// thread of its own while its window appears (see MpvBackendLoader).
#include <QByteArray>

class PlayerBackend;
struct MpvOptions;

inline constexpr char kMpvBackendModuleName[] = "ondasort-mpv.so";
inline constexpr char kMpvBackendEntryName[] = "ondasortCreateMpvBackend";

// Builds a libmpv backend on the calling thread; on failure returns null
// and puts the reason (UTF-8) into `error`.
using MpvBackendEntry = PlayerBackend *(const MpvOptions &options, QByteArray &error);
