#pragma once
// Why a file operation failed, in the window's words.
#include <QString>

#include <system_error>

QString fileErrorText(const std::error_code &error);
