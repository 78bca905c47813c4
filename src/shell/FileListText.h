#pragma once
// The texts of a file list's report columns and its name filter.
//
// Display-free: the file list view calls these for each row it shows.
#include "platform/FileMask.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QString>

#include <cstdint>

namespace filelisttext {

// File-system bits that our namespace never sets but a listing may carry.
constexpr std::uint32_t kArchive = 0x0020;
constexpr std::uint32_t kOffline = 0x1000;

// "2024/03/05  9:07": local time, the hour padded with a space; "" when unknown.
QString dateString(const QDateTime &time);
// "R", "H", "S", "A" for read-only, hidden, system and archive, run together.
QString attributeString(std::uint32_t fileAttributes);
// "オフライン" or "オンライン".
QString statusString(std::uint32_t fileAttributes);
// Kilobytes rounded up, so only an empty file shows "0KB"; "" for a folder of size 0.
QString sizeString(std::uint64_t size, bool folder);

// Whether a name passes a filter of ";"-separated wildcard patterns
// (blanks around each pattern ignored, letter case ignored). An empty (or
// blank) filter passes everything; a filter of only separators passes nothing.
bool matchesFilter(const FileMask &filter, QByteArrayView name);

} // namespace filelisttext
