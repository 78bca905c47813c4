#include "app/FileErrorText.h"

#include <cerrno>

QString fileErrorText(const std::error_code &error)
{
    switch (error.value()) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("空き容量が足りません");
    case EACCES:
    case EPERM:
        return QStringLiteral("アクセスが拒否されました");
    case EROFS:
        return QStringLiteral("書き込みできないドライブです");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("ファイルまたはフォルダーが見つかりません");
    case EEXIST:
        return QStringLiteral("同じ名前のファイルがあります");
    case ESTALE:
        return QStringLiteral("処理中に元のファイルが変更されました");
    case EISDIR:
        return QStringLiteral("フォルダーです");
    case ENAMETOOLONG:
        return QStringLiteral("名前が長すぎます");
    case EIO:
        return QStringLiteral("読み書きのエラーです");
    default:
        return QStringLiteral("エラー %1").arg(error.value());
    }
}
