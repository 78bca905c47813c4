#pragma once
// What the window says about sorting: failures, undo results and the
// background queue's progress, in the window's words.
#include "sorting/SortSession.h"

#include <QString>

namespace sorttexts {

// Why a sort or reject did not happen.
QString failure(const SortFailure &failure);
// How an undo ended; empty when it simply worked.
QString undone(const sortjournal::Entry &entry, const sortundo::Result &result);
// Why Ctrl+Z did nothing now; empty when it did something.
QString undoRefused(const SortSession::UndoReply &reply);
// The journal file could not be written.
QString journalFailure(const std::error_code &error);
// The progress line's first line: what runs and how far it is ("移動中 45%"),
// or that it waits for its device when that does not answer ("応答待ち 45%").
QString progressState(const SortSession::Progress &progress);
// The same for the line's tooltip, in full.
QString progressTip(const SortSession::Progress &progress);
// A slot key refused because the slot's folder does not answer.
QString folderNotAnswering(const QByteArray &folder);
// Asked when the window is closed while an operation waits for a device.
QString closeWhileStalled(const SortSession::Progress &progress);

} // namespace sorttexts
