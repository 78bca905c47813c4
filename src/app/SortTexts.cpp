#include "app/SortTexts.h"

#include "app/FileErrorText.h"
#include "platform/Paths.h"

namespace sorttexts {

namespace {

using sortjournal::Kind;

QString displayName(const QByteArray &path)
{
    return paths::toDisplay(paths::lastComponent(path));
}

// Where an operation put its file, as the messages name it.
QString placeOf(Kind kind)
{
    switch (kind) {
    case Kind::Move:
        return QStringLiteral("移動先");
    case Kind::Copy:
        return QStringLiteral("複製先");
    case Kind::Reject:
        return QStringLiteral("ごみ箱");
    }
    return {};
}

// What a queued operation does, as the progress line names it.
QString operationName(bool undo, Kind kind)
{
    if (undo)
        return QStringLiteral("戻し");
    switch (kind) {
    case Kind::Move:
        break;
    case Kind::Copy:
        return QStringLiteral("複製");
    case Kind::Reject:
        return QStringLiteral("削除");
    }
    return QStringLiteral("移動");
}

} // namespace

QString failure(const SortFailure &failure)
{
    const QString name = displayName(failure.source);
    const QString reason = fileErrorText(failure.result.error);
    if (failure.kind == Kind::Reject)
        return QStringLiteral("%1 をごみ箱に移せません（%2）。").arg(name, reason);
    const QString verb = failure.kind == Kind::Move ? QStringLiteral("移動") : QStringLiteral("複製");
    if (failure.result.trashRefused)
        return QStringLiteral("%1 を%2できません。同じ名前のファイルをごみ箱に移せません（%3）。").arg(name, verb, reason);
    // Another program made a file of that name meanwhile: both stay.
    if (failure.result.error == std::errc::file_exists)
        return QStringLiteral("%1 を%2できません。%3に同じ名前のファイルが作られたため、両方ともそのまま残しました。")
            .arg(name, verb, placeOf(failure.kind));
    return QStringLiteral("%1 を%2できません（%3）。").arg(name, verb, reason);
}

QString undone(const sortjournal::Entry &entry, const sortundo::Result &result)
{
    using sortundo::Outcome;
    const QString name = displayName(entry.source);
    switch (result.outcome) {
    case Outcome::Undone:
        return QStringLiteral("%1 を元に戻しました。").arg(name);
    case Outcome::TargetMissing:
        return QStringLiteral("%1 を元に戻せません。%2のファイルが見つかりません。").arg(name, placeOf(entry.kind));
    case Outcome::TargetChanged:
        return QStringLiteral("%1 を元に戻せません。%2のファイルはその後変更されています。").arg(name, placeOf(entry.kind));
    case Outcome::PlaceTaken:
        return QStringLiteral("%1 を元に戻せません。元の場所に同じ名前のファイルがあります。").arg(name);
    case Outcome::Failed:
        return QStringLiteral("%1 を元に戻せません（%2）。").arg(name, fileErrorText(result.error));
    case Outcome::ReplacedNotRestored:
        return QStringLiteral("置き換えられた %1 をごみ箱から戻せません（%2）。")
            .arg(displayName(entry.target), fileErrorText(result.error));
    }
    return {};
}

QString rejected(const QByteArray &path)
{
    return QStringLiteral("%1 をごみ箱へ移しました。").arg(displayName(path));
}

QString undoRefused(const SortSession::UndoReply &reply)
{
    using Start = SortSession::UndoStart;
    const QString name = displayName(reply.entry.source);
    switch (reply.start) {
    case Start::NothingToUndo:
        return QStringLiteral("元に戻せる操作はありません。");
    case Start::SortUnderWay:
        return QStringLiteral("%1 の%2が終わってから元に戻せます。").arg(name, operationName(false, reply.entry.kind));
    case Start::UndoUnderWay:
        return QStringLiteral("%1 を元に戻しています。終わるまでお待ちください。").arg(name);
    case Start::Withdrawn:
    case Start::Queued:
    case Start::Finished:
        break;
    }
    return {};
}

QString journalFailure(const std::error_code &error)
{
    return QStringLiteral("操作の記録を書き込めません（%1）。再起動後はこの操作を元に戻せません。").arg(fileErrorText(error));
}

QString progressState(const SortSession::Progress &progress)
{
    // The line is narrow: a stalled task says only that it waits.
    if (progress.stalled)
        return QStringLiteral("応答待ち %1%").arg(progress.percent);
    return QStringLiteral("%1中 %2%").arg(operationName(progress.undo, progress.kind)).arg(progress.percent);
}

QString progressTip(const SortSession::Progress &progress)
{
    const QString state = QStringLiteral("%1中 %2%").arg(operationName(progress.undo, progress.kind)).arg(progress.percent);
    return progress.stalled ? state + QStringLiteral("（装置の応答待ち）") : state;
}

QString folderNotAnswering(const QByteArray &folder)
{
    return QStringLiteral("%1 が応答しません。応答があるまで送りません。").arg(paths::toDisplay(folder));
}

QString closeWhileStalled(const SortSession::Progress &progress)
{
    return QStringLiteral("%1 の%2は、装置が応答しないため止まっています。\n"
                          "このまま終了しますか？ 元のファイルはそのまま残ります。")
        .arg(paths::toDisplay(paths::lastComponent(progress.file)), operationName(progress.undo, progress.kind));
}

} // namespace sorttexts
