#include "backups.h"

#include "accounts/accountsstore.h"
#include "store/datafiles.h"
#include "store/kalimoerror.h"
#include "store/numbers.h"
#include "store/scramble.h"
#include "summary/weighttrend.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString WeightSuffix = QStringLiteral(".ini.cry");
const QString FoodLogSuffix = QStringLiteral(".cal.cry");
const QString AccountsCopy = QStringLiteral("compte.ini.cry");
const QString FoodDatabase = QStringLiteral("calories.ini");
const QString PendingRestore = BackupsFolder + QStringLiteral("/.restauration");
// The files of a restore waiting under ".restauration": the plain weight file and food log, or in
// place of the food log an empty file saying that the backup has none.
const QString WeightsStaged = QStringLiteral(".ini");
const QString FoodLogStaged = QStringLiteral(".cal");
const QString NoFoodLogStaged = QStringLiteral(".cal.absent");
const QString TempPrefix = QStringLiteral(".kalimo-");
const QString DateFormat = QStringLiteral("yyyy-MM-dd");
const QString DiskProblem = QStringLiteral("le disque est peut-être plein ou protégé en écriture");

// A call the system refused; turned into the French message of the operation it stopped.
struct Refused {};
void need(bool ok) {
    if (!ok)
        throw Refused{};
}

QByteArray native(const QString& path) {
    return QFile::encodeName(path);
}

QString dayFolder(const QDate& date) {
    return BackupsFolder + QLatin1Char('/') + date.toString(DateFormat);
}

std::optional<QDate> dateOfFolder(const QString& name) {
    const QDate date = QDate::fromString(name, DateFormat);
    if (name.size() != 10 || !date.isValid())
        return std::nullopt;
    return date;
}

QStringList filesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

// Everything that stands in a folder, what cannot be read as a file (a folder, a dangling link)
// included.
QStringList entriesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

bool isFileAt(const QString& path) {
    const QFileInfo info(path);
    return info.isFile();
}

// A name among a folder's files, letter case aside, as data files are found.
QString entryNamed(const QStringList& entries, const QString& name) {
    for (const QString& entry : entries)
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return entry;
    return {};
}

bool isJournalOf(const QString& entry, const QString& account) {
    return entry.compare(account + WeightSuffix, Qt::CaseInsensitive) == 0 ||
           entry.compare(account + FoodLogSuffix, Qt::CaseInsensitive) == 0;
}

// The account whose journal file this is, empty for any other file.
QString accountOfEntry(const QString& entry) {
    if (entry.compare(AccountsCopy, Qt::CaseInsensitive) == 0)
        return {};
    for (const QString& suffix : {WeightSuffix, FoodLogSuffix})
        if (entry.size() > suffix.size() && entry.endsWith(suffix, Qt::CaseInsensitive))
            return entry.chopped(suffix.size());
    return {};
}

std::optional<QByteArray> readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return bytes;
}

// The dated folders of the backups, newest first.
QList<QPair<QDate, QString>> datedFolders() {
    QList<QPair<QDate, QString>> folders;
    for (const QString& name : QDir(BackupsFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (const std::optional<QDate> date = dateOfFolder(name))
            folders.append({*date, BackupsFolder + QLatin1Char('/') + name});
    std::sort(folders.begin(), folders.end(), [](const auto& a, const auto& b) { return a.first > b.first; });
    return folders;
}

// A file as it rests between two runs, in its scrambled form: the plain file scrambled when there
// is one (the account is open, or was left by "Quitter"), else its scrambled copy.
std::optional<QByteArray> atRest(const QString& plainName, QByteArrayView key) {
    const QString plain = ResolveDataPath(plainName);
    if (QFileInfo(plain).isFile()) {
        std::optional<QByteArray> bytes = readFile(plain);
        if (!bytes)
            throw KalimoError(Messages::CannotRead(plain));
        TransformBytes(*bytes, key, ScrambleDirection::Scramble);
        return bytes;
    }
    const QString copy = ResolveDataPath(plainName + QStringLiteral(".cry"));
    if (!QFileInfo(copy).isFile())
        return std::nullopt;
    std::optional<QByteArray> bytes = readFile(copy);
    if (!bytes)
        throw KalimoError(Messages::CannotRead(copy));
    return bytes;
}

// Written here rather than through WriteFileAtomically: the file is new, in a folder that is
// not in place yet, and the folder as a whole is what gets renamed.
void writeNewFile(const QString& path, const QByteArray& bytes) {
    const int fd = ::open(native(path).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    need(fd >= 0);
    bool ok = WriteAllAndSync(fd, bytes);
    ok = (::close(fd) == 0) && ok;
    need(ok);
}

void linkOrCopy(const QString& from, const QString& to) {
    if (::link(native(from).constData(), native(to).constData()) == 0)
        return;
    // A file system without links: a copy does as well, it only takes room. A disk that fails
    // is another matter.
    need(errno == EPERM || errno == EXDEV || errno == EMLINK || errno == EOPNOTSUPP);
    const std::optional<QByteArray> bytes = readFile(from);
    need(bytes.has_value());
    writeNewFile(to, *bytes);
}

bool sameBytes(const QString& path, const QByteArray& bytes) {
    if (path.isEmpty() || QFileInfo(path).size() != bytes.size())
        return false;
    return readFile(path) == bytes;
}

// A journal file of the new backup: a link to the same file of an earlier backup when it has
// not changed since, else its bytes.
void putFile(const QString& path, const QByteArray& bytes, const QString& earlier) {
    if (sameBytes(earlier, bytes))
        linkOrCopy(earlier, path);
    else
        writeNewFile(path, bytes);
}

// Removes a folder (a backup, or what an interrupted one left), whatever stands in it.
void removeFolder(const QString& folder) {
    const QDir dir(folder);
    for (const QFileInfo& entry :
         dir.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        const QString path = folder + QLatin1Char('/') + entry.fileName();
        if (entry.isDir() && !entry.isSymLink())
            removeFolder(path);
        else
            ::unlink(native(path).constData());
    }
    ::rmdir(native(folder).constData());
}

QString temporaryName() {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString name = BackupsFolder + QLatin1Char('/') + TempPrefix;
    for (int i = 0; i < 6; ++i)
        name += QLatin1Char(letters[QRandomGenerator::global()->bounded(int(sizeof letters) - 1)]);
    return name;
}

QString makeTemporaryFolder() {
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = temporaryName();
        if (::mkdir(native(name).constData(), 0700) == 0)
            return name;
        need(errno == EEXIST);
    }
    throw Refused{};
}

// What interrupted backups left under temporary names: never a backup in place.
void removeLeftovers() {
    const QDir root(BackupsFolder);
    for (const QString& name :
         root.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
        if (!name.startsWith(TempPrefix))
            continue;
        const QString path = root.filePath(name);
        if (QFileInfo(path).isDir())
            removeFolder(path);
        else
            ::unlink(native(path).constData());
    }
}

// The folder of the backups, created when missing. Raises the message for the box when it is
// something else than a folder.
void prepareFolder(const QString& failure) {
    const QFileInfo info(BackupsFolder);
    if (info.exists() || info.isSymLink()) {
        if (!info.isDir())
            throw KalimoError(failure.arg(QStringLiteral("« %1 » n'est pas un dossier").arg(BackupsFolder)));
    } else {
        need(::mkdir(native(BackupsFolder).constData(), 0700) == 0);
        need(SyncFolder(QStringLiteral(".")));
    }
    removeLeftovers();
}

// Puts a complete folder in place of the day's: renamed when the day has none yet, else swapped
// with it in one step (the accounts that closed earlier that day are in the new one too), and the
// old one removed.
void putInPlace(const QString& temp, const QString& day) {
    if (!QFileInfo(day).isDir()) {
        need(::rename(native(temp).constData(), native(day).constData()) == 0);
        need(SyncFolder(BackupsFolder));
        return;
    }
    if (::renameat2(AT_FDCWD, native(temp).constData(), AT_FDCWD, native(day).constData(), RENAME_EXCHANGE) !=
        0) {
        // A file system that cannot swap: the old folder steps aside under a temporary name first.
        need(errno == EINVAL || errno == ENOSYS);
        const QString old = temporaryName();
        need(::rename(native(day).constData(), native(old).constData()) == 0);
        if (::rename(native(temp).constData(), native(day).constData()) != 0) {
            ::rename(native(old).constData(), native(day).constData());
            throw Refused{};
        }
        need(SyncFolder(BackupsFolder));
        removeFolder(old);
        return;
    }
    need(SyncFolder(BackupsFolder));
    removeFolder(temp); // now the day's old folder
}

// Sets a folder of the backups aside under a temporary name, then removes it: a kill halfway
// leaves a leftover that the next backup removes, never a backup cut in two.
void removeAside(const QString& folder) {
    const QString aside = temporaryName();
    need(::rename(native(folder).constData(), native(aside).constData()) == 0);
    need(SyncFolder(BackupsFolder));
    removeFolder(aside);
}

bool ownedBy(const QString& entry, const QString& account) {
    return accountOfEntry(entry).compare(account, Qt::CaseInsensitive) == 0;
}

// Takes the account's journal out of a day's folder in one step, as a backup is put in: the
// folder goes aside whole when no other account's journal is left in it, else a copy of it
// without that journal is swapped into its place.
void removeEntriesOf(const QString& folder, const QString& account) {
    const QStringList names = entriesIn(folder);
    if (std::none_of(names.cbegin(), names.cend(), [&](const QString& name) {
            return !accountOfEntry(name).isEmpty() && !ownedBy(name, account);
        })) {
        removeAside(folder);
        return;
    }
    const QString temp = makeTemporaryFolder();
    try {
        for (const QString& name : filesIn(folder))
            if (!ownedBy(name, account))
                linkOrCopy(folder + QLatin1Char('/') + name, temp + QLatin1Char('/') + name);
        need(SyncFolder(temp));
        putInPlace(temp, folder);
    } catch (...) {
        removeFolder(temp);
        throw;
    }
}

struct Journal {
    QByteArray weights;
    std::optional<QByteArray> foodLog;
};

// The account's journal files in the newest backup that has them.
struct Entry {
    QString folder;
    QString weights; // paths, empty when missing
    QString foodLog;
};

// The account's files in a day's folder; nothing when it holds neither.
std::optional<Entry> entryIn(const QString& folder, const QString& account) {
    const QStringList files = filesIn(folder);
    const QString weights = entryNamed(files, account + WeightSuffix);
    const QString foodLog = entryNamed(files, account + FoodLogSuffix);
    if (weights.isEmpty() && foodLog.isEmpty())
        return std::nullopt;
    const auto path = [&folder](const QString& name) {
        return name.isEmpty() ? QString() : folder + QLatin1Char('/') + name;
    };
    return Entry{folder, path(weights), path(foodLog)};
}

std::optional<Entry> latestEntry(const QString& account) {
    for (const auto& [date, folder] : datedFolders())
        if (const std::optional<Entry> entry = entryIn(folder, account); entry && !entry->weights.isEmpty())
            return entry;
    return std::nullopt;
}

std::optional<Journal> presentJournal(const QString& account) {
    std::optional<QByteArray> weights = atRest(account + QStringLiteral(".ini"), AccountFilesKey);
    if (!weights)
        return std::nullopt;
    return Journal{*weights, atRest(account + QStringLiteral(".cal"), AccountFilesKey)};
}

bool holds(const Entry& entry, const Journal& journal) {
    if (!sameBytes(entry.weights, journal.weights))
        return false;
    if (!journal.foodLog)
        return entry.foodLog.isEmpty();
    return sameBytes(entry.foodLog, *journal.foodLog);
}

// Writes the account's entry of the day's backup, keeping the other accounts' entries of that
// day as they are.
void writeEntry(const QString& account, const QDate& today, const Journal& journal, const QString& failure) {
    const QString day = dayFolder(today);
    const std::optional<Entry> earlier = latestEntry(account);
    QString temp;
    try {
        prepareFolder(failure);
        temp = makeTemporaryFolder();
        const auto in = [&temp](const QString& name) { return temp + QLatin1Char('/') + name; };
        if (QFileInfo(day).isDir())
            for (const QString& name : filesIn(day))
                if (!isJournalOf(name, account) && name.compare(AccountsCopy, Qt::CaseInsensitive) != 0 &&
                    name.compare(FoodDatabase, Qt::CaseInsensitive) != 0)
                    linkOrCopy(day + QLatin1Char('/') + name, in(name));
        putFile(in(account + WeightSuffix), journal.weights, earlier ? earlier->weights : QString());
        if (journal.foodLog)
            putFile(in(account + FoodLogSuffix), *journal.foodLog, earlier ? earlier->foodLog : QString());
        if (const std::optional<QByteArray> accounts = atRest(QStringLiteral("compte.ini"), AccountsFileKey))
            writeNewFile(in(AccountsCopy), *accounts);
        const QString database = ResolveDataPath(FoodDatabase);
        if (QFileInfo(database).isFile()) {
            const std::optional<QByteArray> bytes = readFile(database);
            need(bytes.has_value());
            putFile(in(FoodDatabase), *bytes,
                    earlier ? earlier->folder + QLatin1Char('/') + FoodDatabase : QString());
        }
        need(SyncFolder(temp));
        putInPlace(temp, day);
    } catch (const Refused&) {
        if (!temp.isEmpty())
            removeFolder(temp);
        throw KalimoError(failure.arg(DiskProblem));
    } catch (...) {
        if (!temp.isEmpty())
            removeFolder(temp);
        throw;
    }
}

// What the list shows of a backup's weight file.
struct WeightFacts {
    int weighedDays = 0;
    std::optional<DayWeight> last;
};

// The weighed days of a scrambled weight file, read as the "Bilan" page reads a journal (the
// first section of a month, the first key of a day, the days its month has), in one pass over
// the bytes: the list reads 26 fifty-year journals at once. Nothing when the bytes do not
// unscramble into a weight file, that is one that stores at least one month.
std::optional<WeightFacts> weightFactsOf(QByteArray bytes) {
    TransformBytes(bytes, AccountFilesKey, ScrambleDirection::Unscramble);
    WeightFacts facts;
    bool anyMonth = false;
    QSet<qint64> months;
    qint64 first = -1;
    int days = 0;
    quint32 seen = 0;
    const char* p = bytes.constData();
    const char* const end = p + bytes.size();
    while (p < end) {
        const char* eol = static_cast<const char*>(std::memchr(p, '\n', size_t(end - p)));
        if (!eol)
            eol = end;
        const QByteArrayView line = QByteArrayView(p, eol - p).trimmed();
        p = eol + 1;
        if (line.startsWith('[')) {
            first = -1;
            const qsizetype close = line.indexOf(']');
            const QByteArrayView name = line.sliced(1, (close < 0 ? line.size() : close) - 1).trimmed();
            const qsizetype slash = name.indexOf('/');
            const std::optional<int> month = slash < 0 ? std::nullopt : ParsePlainNumber(name.first(slash));
            const std::optional<int> year =
                slash < 0 ? std::nullopt : ParsePlainNumber(name.sliced(slash + 1));
            if (!month || !year || *month > 12)
                continue;
            const QDate date(*year, *month, 1);
            anyMonth = true;
            if (months.contains(date.toJulianDay()))
                continue;
            months.insert(date.toJulianDay());
            first = date.toJulianDay();
            days = date.daysInMonth();
            seen = 0;
            continue;
        }
        const qsizetype eq = line.indexOf('=');
        if (first < 0 || eq < 0)
            continue;
        const QByteArrayView key = line.first(eq).trimmed();
        if (key.size() < 2 || (key.front() != 'v' && key.front() != 'V'))
            continue;
        const std::optional<int> day = ParsePlainNumber(key.sliced(1));
        if (!day || *day > days || (seen & (1u << *day)))
            continue;
        seen |= 1u << *day;
        if (const std::optional<double> kg = JournalWeight(line.sliced(eq + 1))) {
            ++facts.weighedDays;
            if (!facts.last || first + *day - 1 > facts.last->day)
                facts.last = DayWeight{first + *day - 1, *kg};
        }
    }
    if (!anyMonth)
        return std::nullopt;
    return facts;
}

// The days that have at least one food in a food log: the sections with a key line, in one pass
// over the bytes.
int mealDays(QByteArray bytes) {
    TransformBytes(bytes, AccountFilesKey, ScrambleDirection::Unscramble);
    int days = 0;
    bool counted = true; // no section yet
    bool lineStart = true;
    bool firstChar = true; // first character of the line that is not a blank
    for (const char c : std::as_const(bytes)) {
        if (c == '\n') {
            lineStart = firstChar = true;
            continue;
        }
        if (firstChar && (c == ' ' || c == '\t'))
            continue;
        if (firstChar) {
            firstChar = false;
            lineStart = c != ';' && c != '=' && c != '\r';
            if (c == '[') {
                counted = false;
                lineStart = false;
            }
            continue;
        }
        if (lineStart && c == '=' && !counted) {
            counted = true;
            ++days;
        }
    }
    return days;
}

QString restoreFailure() {
    return QStringLiteral("Impossible de restaurer la sauvegarde : %1. Vos journaux n'ont pas changé.");
}

// The account a restore waiting under ".restauration" is for, empty when none is.
QString pendingRestoreAccount() {
    const QStringList names = entriesIn(PendingRestore);
    for (const QString& suffix : {WeightsStaged, FoodLogStaged, NoFoodLogStaged, WeightSuffix, FoodLogSuffix})
        for (const QString& name : names)
            if (name.size() > suffix.size() && name.endsWith(suffix, Qt::CaseInsensitive))
                return name.chopped(suffix.size());
    return {};
}

// Moves a staged file into the data folder in one step, which takes it out of the staging folder:
// a file moved is never moved again.
void moveIntoPlace(const QString& staged, const QString& target) {
    if (::rename(native(staged).constData(), native(target).constData()) == 0)
        return;
    // The backups on another file system than the journal: written, then taken out of the staging.
    std::optional<QByteArray> bytes;
    if (errno != EXDEV || !(bytes = readFile(staged)) || !WriteFileAtomically(target, *bytes) ||
        ::unlink(native(staged).constData()) != 0)
        throw KalimoError(Messages::CannotWrite(target));
}

// Applies the restore put whole under ".restauration". Each file of the pair is moved out of it
// into the data folder, the food log first and the weights last: what is still there is what
// remains to be done, so a restore is applied at most once, whatever fails or wherever the
// program is stopped. Raises a KalimoError when a step fails; the next call goes on from there.
bool applyPendingRestore() {
    if (!QFileInfo(PendingRestore).isDir())
        return false;
    const QString account = pendingRestoreAccount();
    if (!account.isEmpty()) {
        AccountsStore::CheckAccountName(account);
        const auto staged = [&](const QString& suffix) {
            const QString entry = entryNamed(entriesIn(PendingRestore), account + suffix);
            return entry.isEmpty() ? QString() : PendingRestore + QLatin1Char('/') + entry;
        };
        // A staging folder left by an earlier version holds the scrambled pair: made plain first.
        for (const auto& [scrambled, plain] :
             {std::pair{WeightSuffix, WeightsStaged}, std::pair{FoodLogSuffix, FoodLogStaged}}) {
            const QString old = staged(scrambled);
            if (old.isEmpty())
                continue;
            if (staged(plain).isEmpty()) {
                std::optional<QByteArray> bytes = readFile(old);
                if (!bytes)
                    throw KalimoError(Messages::CannotRead(old));
                TransformBytes(*bytes, AccountFilesKey, ScrambleDirection::Unscramble);
                const QString target = PendingRestore + QLatin1Char('/') + account + plain;
                try {
                    writeNewFile(target, *bytes);
                    if (plain == WeightsStaged && staged(FoodLogSuffix).isEmpty() &&
                        staged(FoodLogStaged).isEmpty())
                        writeNewFile(PendingRestore + QLatin1Char('/') + account + NoFoodLogStaged, {});
                } catch (const Refused&) {
                    ::unlink(native(target).constData());
                    throw KalimoError(Messages::CannotWrite(target));
                }
            }
            if (::unlink(native(old).constData()) != 0)
                throw KalimoError(Messages::CannotWrite(old));
        }
        // A file still to be replaced loses its scrambled copy first, which would win over the
        // restored file at the next opening (the journal it holds was backed up under today's
        // date before the restore was staged). A file already replaced keeps its copy: a close
        // since then put the restored file there.
        const auto dropCopy = [&](const QString& suffix) {
            const QString copy = ResolveDataPath(account + suffix);
            if (QFileInfo(copy).isFile() && ::unlink(native(copy).constData()) != 0)
                throw KalimoError(Messages::CannotWrite(copy));
        };
        const QString foodLog = ResolveDataPath(account + QStringLiteral(".cal"));
        if (const QString staging = staged(FoodLogStaged); !staging.isEmpty()) {
            dropCopy(FoodLogSuffix);
            moveIntoPlace(staging, foodLog);
        } else if (const QString none = staged(NoFoodLogStaged); !none.isEmpty()) {
            dropCopy(FoodLogSuffix);
            if (QFileInfo(foodLog).isFile() && ::unlink(native(foodLog).constData()) != 0)
                throw KalimoError(Messages::CannotWrite(foodLog));
            if (::unlink(native(none).constData()) != 0)
                throw KalimoError(Messages::CannotWrite(PendingRestore));
        }
        if (const QString weights = staged(WeightsStaged); !weights.isEmpty()) {
            dropCopy(WeightSuffix);
            moveIntoPlace(weights, ResolveDataPath(account + QStringLiteral(".ini")));
        }
        if (!SyncFolder(QStringLiteral(".")))
            throw KalimoError(Messages::CannotWrite(ResolveDataPath(account + QStringLiteral(".ini"))));
    }
    // Nothing of the restore is left in the folder: it goes, and a failure here changes nothing.
    removeFolder(PendingRestore);
    return true;
}
} // namespace

QString BackupFailedMessage(const QString& why) {
    return QStringLiteral("Impossible de faire la sauvegarde du jour dans le dossier « %1 » : %2. "
                          "Vos journaux eux-mêmes n'ont pas changé.")
        .arg(BackupsFolder, why);
}

QList<QDate> BackupDatesToKeep(QList<QDate> dates, const QDate& today) {
    std::sort(dates.begin(), dates.end(), std::greater<>());
    dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
    QList<QDate> kept = dates.mid(0, 14);
    const QDate thisMonth(today.year(), today.month(), 1);
    for (int back = 0; back < 12; ++back) {
        const QDate first = thisMonth.addMonths(-back);
        const QDate next = first.addMonths(1);
        // Dates are newest first: the last one inside the month is its earliest.
        std::optional<QDate> earliest;
        for (const QDate& date : dates)
            if (date >= first && date < next)
                earliest = date;
        if (earliest && !kept.contains(*earliest))
            kept.append(*earliest);
    }
    std::sort(kept.begin(), kept.end(), std::greater<>());
    return kept;
}

BackupResult BackupAtClose(const QString& account, const QDate& today) {
    AccountsStore::CheckAccountName(account);
    const QString failure = BackupFailedMessage(QStringLiteral("%1"));
    if (QFileInfo(BackupsFolder).isDir())
        removeLeftovers();
    try {
        if (!entryNamed(filesIn(dayFolder(today)), account + WeightSuffix).isEmpty())
            return BackupResult::AlreadyMadeToday;
        const std::optional<Journal> journal = presentJournal(account);
        if (!journal)
            return BackupResult::NothingToSave;
        if (const std::optional<Entry> latest = latestEntry(account); latest && holds(*latest, *journal))
            return BackupResult::Unchanged;
        writeEntry(account, today, *journal, failure);
    } catch (const Refused&) {
        throw KalimoError(failure.arg(DiskProblem));
    }
    return BackupResult::Made;
}

void RemoveOldBackups(const QString& account, const QDate& today) {
    AccountsStore::CheckAccountName(account);
    if (!QFileInfo(BackupsFolder).isDir())
        return;
    try {
        removeLeftovers();
        // The account's own dates: one person's daily use must not push out another's backups, and
        // another account's backups are theirs to keep.
        QList<QDate> dates;
        for (const auto& [date, folder] : datedFolders()) {
            const QStringList names = entriesIn(folder);
            if (std::any_of(names.cbegin(), names.cend(),
                            [&](const QString& n) { return ownedBy(n, account); }))
                dates.append(date);
        }
        const QList<QDate> kept = BackupDatesToKeep(dates, today);
        for (const auto& [date, folder] : datedFolders())
            if (dates.contains(date) && !kept.contains(date))
                removeEntriesOf(folder, account);
        // A day left without any journal (as earlier versions could leave one) goes as a whole.
        for (const auto& [date, folder] : datedFolders()) {
            const QStringList names = entriesIn(folder);
            if (std::none_of(names.cbegin(), names.cend(),
                             [](const QString& n) { return !accountOfEntry(n).isEmpty(); }))
                removeAside(folder);
        }
    } catch (const Refused&) {
        throw KalimoError(
            QStringLiteral("Impossible de supprimer les anciennes sauvegardes du dossier « %1 » : "
                           "%2. Elles le seront à une prochaine fermeture.")
                .arg(BackupsFolder, DiskProblem));
    }
}

void RemoveAccountBackups(const QString& account) {
    if (!QFileInfo(BackupsFolder).isDir())
        return;
    try {
        for (const auto& [date, folder] : datedFolders()) {
            const QStringList names = entriesIn(folder);
            if (std::any_of(names.cbegin(), names.cend(),
                            [&](const QString& n) { return ownedBy(n, account); }))
                removeEntriesOf(folder, account);
        }
        // A restore still waiting for the account would bring its journal back at the next opening.
        if (QFileInfo(PendingRestore).isDir() &&
            pendingRestoreAccount().compare(account, Qt::CaseInsensitive) == 0)
            removeAside(PendingRestore);
    } catch (const Refused&) {
        throw KalimoError(Messages::CannotWrite(BackupsFolder));
    }
}

QList<BackupInfo> ListBackups(const QString& account) {
    AccountsStore::CheckAccountName(account);
    QList<BackupInfo> list;
    // Unchanged journals are links to one file: each is read once.
    QHash<QPair<quint64, quint64>, BackupInfo> seen;
    for (const auto& [date, folder] : datedFolders()) {
        const QStringList names = entriesIn(folder);
        const QString weights = entryNamed(names, account + WeightSuffix);
        const QString foodLog = entryNamed(names, account + FoodLogSuffix);
        if (weights.isEmpty() && foodLog.isEmpty())
            continue;
        BackupInfo info;
        info.date = date;
        if (!weights.isEmpty() && isFileAt(folder + QLatin1Char('/') + weights)) {
            const QString path = folder + QLatin1Char('/') + weights;
            struct stat st {};
            const bool stamped = ::stat(native(path).constData(), &st) == 0;
            const QPair<quint64, quint64> id(st.st_dev, st.st_ino);
            if (stamped && seen.contains(id)) {
                info = seen.value(id);
                info.date = date;
            } else if (const std::optional<QByteArray> bytes = readFile(path)) {
                if (const std::optional<WeightFacts> facts = weightFactsOf(*bytes)) {
                    info.readable = true;
                    info.weighedDays = facts->weighedDays;
                    if (facts->last) {
                        info.lastWeight = facts->last->kg;
                        info.lastWeightDate = QDate::fromJulianDay(facts->last->day);
                    }
                }
                if (stamped)
                    seen.insert(id, info);
            }
        }
        if (info.readable && !foodLog.isEmpty()) {
            // A food log that is not a file cannot be restored: the backup as a whole cannot be.
            const QString path = folder + QLatin1Char('/') + foodLog;
            if (const std::optional<QByteArray> bytes = isFileAt(path) ? readFile(path) : std::nullopt)
                info.mealDays = mealDays(*bytes);
            else {
                info = BackupInfo();
                info.date = date;
            }
        }
        list.append(info);
    }
    return list;
}

void RestoreBackup(const QString& account, const QDate& date, const QDate& today) {
    AccountsStore::CheckAccountName(account);
    FinishInterruptedRestore();
    const QString folder = dayFolder(date);
    const QStringList names = entriesIn(folder);
    const QString unreadable =
        QStringLiteral("La sauvegarde du %1 est illisible : elle ne peut pas être restaurée.")
            .arg(date.toString(QStringLiteral("dd/MM/yyyy")));
    const QString weightsEntry = entryNamed(names, account + WeightSuffix);
    const QString foodLogEntry = entryNamed(names, account + FoodLogSuffix);
    const auto read = [&folder](const QString& entry) {
        const QString path = folder + QLatin1Char('/') + entry;
        return isFileAt(path) ? readFile(path) : std::nullopt;
    };
    std::optional<QByteArray> weights = weightsEntry.isEmpty() ? std::nullopt : read(weightsEntry);
    if (!weights || !weightFactsOf(*weights))
        throw KalimoError(unreadable);
    std::optional<QByteArray> foodLog;
    if (!foodLogEntry.isEmpty()) {
        foodLog = read(foodLogEntry);
        if (!foodLog)
            throw KalimoError(unreadable);
    }

    // The journal as it is now is kept first, under today's date (the day's earlier backup of
    // this account gives way to it: it may be the very state being undone).
    const QString failure = restoreFailure();
    if (const std::optional<Journal> present = presentJournal(account)) {
        const std::optional<Entry> todays = entryIn(dayFolder(today), account);
        if (!todays || !holds(*todays, *present))
            writeEntry(account, today, *present, failure);
    }

    // The pair to restore, put whole in place before either file of the journal is touched, as
    // the plain files that will be renamed into the data folder.
    QString temp;
    try {
        prepareFolder(failure);
        temp = makeTemporaryFolder();
        const auto stage = [&](QByteArray bytes, const QString& suffix) {
            TransformBytes(bytes, AccountFilesKey, ScrambleDirection::Unscramble);
            writeNewFile(temp + QLatin1Char('/') + account + suffix, bytes);
        };
        stage(*weights, WeightsStaged);
        if (foodLog)
            stage(*foodLog, FoodLogStaged);
        else
            writeNewFile(temp + QLatin1Char('/') + account + NoFoodLogStaged, {});
        need(SyncFolder(temp));
        need(::rename(native(temp).constData(), native(PendingRestore).constData()) == 0);
        need(SyncFolder(BackupsFolder));
    } catch (const Refused&) {
        if (!temp.isEmpty() && QFileInfo(temp).isDir())
            removeFolder(temp);
        throw KalimoError(failure.arg(DiskProblem));
    }
    try {
        applyPendingRestore();
    } catch (const KalimoError& e) {
        throw KalimoError(e.message() + QStringLiteral(" : la restauration sera achevée à la prochaine "
                                                       "ouverture du compte."));
    }
}

bool FinishInterruptedRestore() {
    try {
        return applyPendingRestore();
    } catch (const KalimoError& e) {
        throw KalimoError(
            QStringLiteral("Une restauration interrompue n'a pas pu être achevée : %1").arg(e.message()));
    }
}
