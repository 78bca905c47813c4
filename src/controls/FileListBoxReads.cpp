// Reading the list's folder on worker threads: pointing the list at a
// folder, reading it again, and the quiet re-read after a move.
#include "controls/FileListBox.h"

#include "controls/FileListModel.h"
#include "platform/FileCalls.h"
#include "platform/FileDescriptor.h"
#include "platform/FileMask.h"
#include "platform/FileSystem.h"
#include "platform/FolderFiles.h"
#include "platform/Paths.h"
#include "platform/WorkerThreads.h"

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <mutex>
#include <unistd.h>

namespace {

// Workers of every list change the one working directory of the process.
std::mutex g_workingDirectory;

QByteArray workingDirectory()
{
    char buffer[PATH_MAX];
    return ::getcwd(buffer, sizeof buffer) ? QByteArray(buffer) : QByteArray();
}

// Takes the withheld files of folder out of names.
void dropWithheld(std::vector<QByteArray> &names, const QByteArray &folder, const std::set<QByteArray> &withheld)
{
    if (withheld.empty())
        return;
    std::erase_if(names, [&](const QByteArray &name) { return withheld.count(paths::join(folder, name)) != 0; });
}

// Whether names are listed less the rows at removed (ascending places in listed).
bool sameItems(const std::vector<QByteArray> &names, const std::vector<QByteArray> &listed,
    const std::vector<int> &removed)
{
    if (names.size() + removed.size() != listed.size())
        return false;
    auto skip = removed.begin();
    auto name = names.begin();
    for (size_t place = 0; place < listed.size(); ++place) {
        if (skip != removed.end() && *skip == int(place)) {
            ++skip;
            continue;
        }
        if (*name++ != listed[place])
            return false;
    }
    return true;
}

// Whether read is asRead less the names at removed (in any order): a
// folder that nothing else changed gives its names in the same order each
// time, the moved ones missing, and this tells so without sorting them.
// False says only that it could not tell.
bool sameAsRead(const std::vector<QByteArray> &read, const std::vector<QByteArray> &asRead,
    std::vector<QByteArray> removed)
{
    if (read.size() + removed.size() != asRead.size())
        return false;
    std::sort(removed.begin(), removed.end());
    std::vector<bool> found(removed.size(), false);
    auto next = read.begin();
    for (const QByteArray &name : asRead) {
        if (next != read.end() && *next == name) {
            ++next;
            continue;
        }
        // A name missing from the read must be one removed, each removal counting once.
        auto gone = std::lower_bound(removed.begin(), removed.end(), name);
        while (gone != removed.end() && *gone == name && found[size_t(gone - removed.begin())])
            ++gone;
        if (gone == removed.end() || *gone != name)
            return false;
        found[size_t(gone - removed.begin())] = true;
    }
    return next == read.end();
}

} // namespace

// The last listing shown, kept to compare the next background read with.
struct TFileListBox::Listed
{
    // The names in the list's order, and as the folder gave them.
    std::vector<QByteArray> names;
    std::vector<QByteArray> asRead;
};

// What one read is to do.
struct TFileListBox::Request
{
    enum class Kind {
        Show,       // show a folder, unless it is the one shown
        Reread,     // read a folder, shown or not
        Update,     // read the folder shown; a failure empties the list
        Background, // read the folder shown without entering it; replace the items only when they differ
    };
    Kind kind = Kind::Show;
    QByteArray folder;
    // Show: the folder shown now.
    QByteArray shown;
    // A path naming this file (the selected one) changes nothing.
    QByteArray selectedFile;
    // The read's number: only the latest read enters its folder.
    quint64 number = 0;
    std::shared_ptr<std::atomic<quint64>> latest;
    std::shared_ptr<const FileMask> mask;
    std::set<QByteArray> withheld;
    // Background: the items as they stand, as the last listing less the rows taken out since.
    std::shared_ptr<const Listed> listed;
    std::vector<int> removedSince;
    quint64 itemsVersion = 0;
};

// What it found.
struct TFileListBox::Outcome
{
    bool ok = false;
    // Nothing needed reading.
    bool unchanged = false;
    // The folder entered, as the system spells it.
    QByteArray entered;
    FileListModel::Sorted items;
    // The same names, kept to compare the next background read with.
    std::shared_ptr<const Listed> listed;
};

// All or nothing, as far as the list is concerned.
void TFileListBox::readFolder(FileSystem &fs, const Request &request, Outcome &outcome)
{
    using Kind = Request::Kind;
    if (!request.selectedFile.isEmpty() && fs.sameFile(request.folder, request.selectedFile)) {
        outcome.ok = outcome.unchanged = true;
        return;
    }
    // The same folder on disk, however spelt: names on Linux differ by case,
    // so a case-blind comparison of paths would keep another folder's files.
    if (request.kind == Kind::Show && fs.isDirectory(request.folder) && fs.sameFile(request.folder, request.shown)) {
        outcome.ok = outcome.unchanged = true;
        return;
    }
    const FileDescriptor fd(fs.open(request.folder.constData(), O_RDONLY | O_DIRECTORY, 0), fs);
    if (!fd.isOpen())
        return;
    folderfiles::Listing listing = folderfiles::read(fd.get(), *request.mask);
    if (listing.error != 0)
        return;
    if (request.kind != Kind::Background) {
        const std::lock_guard lock(g_workingDirectory);
        // A read made void since leaves the working directory to the later one.
        if (request.latest->load() == request.number) {
            if (::fchdir(fd.get()) != 0)
                return;
            outcome.entered = workingDirectory();
        }
    }
    dropWithheld(listing.names, request.folder, request.withheld);
    outcome.ok = true;
    // The common case after a move: nothing else changed, and the GUI thread hears only that.
    const bool background = request.kind == Kind::Background;
    if (background && request.listed) {
        std::vector<QByteArray> removed;
        for (const int place : request.removedSince)
            removed.push_back(request.listed->names[size_t(place)]);
        if (sameAsRead(listing.names, request.listed->asRead, std::move(removed))) {
            outcome.unchanged = true;
            return;
        }
    }
    auto listed = std::make_shared<Listed>();
    listed->asRead = listing.names;
    outcome.items = FileListModel::sorted(std::move(listing.names));
    static const std::vector<QByteArray> nothingListed;
    listed->names = outcome.items.names;
    outcome.listed = std::move(listed);
    if (background
        && sameItems(outcome.items.names, request.listed ? request.listed->names : nothingListed, request.removedSince)) {
        // The folder gave its names in another order: the next read compares with this one.
        outcome.unchanged = true;
        outcome.items = {};
    }
}

bool TFileListBox::startRead(const Request &prepared, Answer answer)
{
    Request request = prepared;
    request.number = ++*m_latestRead;
    request.latest = m_latestRead;
    request.mask = m_fileMask;
    request.withheld = m_withheld;
    if (request.kind == Request::Kind::Background) {
        request.listed = m_listed;
        request.removedSince = m_removedSince;
        request.itemsVersion = m_itemsVersion;
    }
    m_readDelay.stop();
    // What start() answered before it returned, if it did.
    auto now = std::make_shared<std::optional<bool>>();
    std::function<std::shared_ptr<Outcome>()> work = [&fs = *m_fs, request] {
        auto outcome = std::make_shared<Outcome>();
        readFolder(fs, request, *outcome);
        return outcome;
    };
    std::function<void(std::shared_ptr<Outcome>)> apply = [this, request, answer = std::move(answer), now](
                                                               std::shared_ptr<Outcome> outcome) {
        *now = outcome->ok;
        applyRead(request, *outcome, answer);
    };
    if (request.kind == Request::Kind::Background)
        m_reads->startInBackground({request.folder}, std::move(work), std::move(apply));
    else
        m_reads->start({request.folder}, std::move(work), std::move(apply));
    return now->value_or(false);
}

void TFileListBox::showListing(FileListModel::Sorted items, std::shared_ptr<const Listed> listed)
{
    ++m_itemsVersion;
    // The items before go on a worker: a hundred thousand names take a while to free.
    workerthreads::run([shown = m_model->setSorted(std::move(items)), gone = keepListed(std::move(listed))] {},
        workerthreads::Lane::Background);
}

std::shared_ptr<const TFileListBox::Listed> TFileListBox::keepListed(std::shared_ptr<const Listed> listed)
{
    m_removedSince.clear();
    std::swap(m_listed, listed);
    return listed;
}

void TFileListBox::applyRead(const Request &request, Outcome &outcome, const Answer &answer)
{
    if (m_loading) {
        m_loading = false;
        viewport()->update();
    }
    using Kind = Request::Kind;
    if (!outcome.ok) {
        // A folder that can no longer be read shows as empty.
        if (request.kind == Kind::Update || request.kind == Kind::Background)
            showListing({}, nullptr);
        // A read made void after it had entered its folder: the folder shown is entered again.
        const QByteArray shown = m_directory;
        if (!shown.isEmpty() && workingDirectory() != shown) {
            workerthreads::run([shown, latest = m_latestRead, number = m_latestRead->load()] {
                const std::lock_guard lock(g_workingDirectory);
                if (latest->load() == number)
                    [[maybe_unused]] const int ignored = ::chdir(shown.constData());
            });
        }
        if (answer)
            answer(false);
        return;
    }
    if (request.kind == Kind::Background && request.itemsVersion != m_itemsVersion) {
        // The items changed while it read: it compared with what they were, so it is asked again.
        UpdateLater();
        return;
    }
    if (outcome.unchanged) {
        // The items are this listing already: it is what the next background read compares with.
        if (request.kind == Kind::Background && outcome.listed)
            workerthreads::run([gone = keepListed(std::move(outcome.listed))] {}, workerthreads::Lane::Background);
        if (answer)
            answer(true);
        return;
    }
    if (request.kind == Kind::Background) {
        showListing(std::move(outcome.items), std::move(outcome.listed));
        emit ListingChanged();
        return;
    }
    showListing(std::move(outcome.items), std::move(outcome.listed));
    if (request.kind != Kind::Update)
        m_directory = outcome.entered.isEmpty() ? request.folder : outcome.entered;
    if (answer)
        answer(true);
}

bool TFileListBox::setDirectory(const QByteArray &folder, Answer answer)
{
    if (folder.isEmpty()) {
        if (answer)
            answer(false);
        return false;
    }
    Request request;
    request.kind = Request::Kind::Show;
    request.folder = folder;
    request.shown = m_directory;
    return startRead(request, std::move(answer));
}

bool TFileListBox::applyFilePath(const QByteArray &path, Answer answer)
{
    const QByteArray selected = FileName();
    if (path.isEmpty() || path == selected) {
        if (answer)
            answer(true);
        return true;
    }
    Request request;
    request.kind = Request::Kind::Show;
    request.folder = path;
    request.shown = m_directory;
    request.selectedFile = selected;
    return startRead(request, std::move(answer));
}

bool TFileListBox::readDirectory(const QByteArray &folder, Answer answer)
{
    Request request;
    request.kind = Request::Kind::Reread;
    request.folder = folder;
    return startRead(request, std::move(answer));
}

bool TFileListBox::Update(Answer answer)
{
    if (m_directory.isEmpty()) {
        m_reads->cancel();
        m_readDelay.stop();
        showListing({}, nullptr);
        if (answer)
            answer(false);
        return false;
    }
    Request request;
    request.kind = Request::Kind::Update;
    request.folder = m_directory;
    return startRead(request, std::move(answer));
}

void TFileListBox::UpdateLater()
{
    if (m_directory.isEmpty())
        return;
    m_readDelay.start();
}

void TFileListBox::startBackgroundRead()
{
    Request request;
    request.kind = Request::Kind::Background;
    request.folder = m_directory;
    startRead(request, {});
}

bool TFileListBox::isReading() const
{
    return m_reads->isWaiting();
}

bool TFileListBox::isUpdatePending() const
{
    return m_readDelay.isActive() || m_reads->isWaiting();
}
