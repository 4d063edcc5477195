// Duplicate removal against jdupes, fdupes, rmlint and rdfind on the same
// trees, warm cache (or cold: QUILLO_BENCH_COLD=1, as root), median of five
// runs. Every run is its own process, so its peak
// resident memory and the bytes it read are its own.
//
//   bench_dedup [work folder] [KIND ...]
//   bench_dedup --make KIND <folder>    (a tree to profile by hand)
//   bench_dedup --quillo <folder>       (one run of Quillo's side)
//
// KIND: mixed, same, huge (the default three), small40k, small200k (64-byte
// files of one size), million (1,000 folders of 1,000 files). A corpus whose
// slowest tool takes over 60 s in the warming run is measured as the median
// of 3 instead, and says so. QUILLO_BENCH_SKIP=fdupes,rmlint leaves tools out.
//
// Quillo's run: collect both trees (the two collection commands) and run the duplicate
// pass in move mode, the search and then carrying out the whole plan (as the
// review confirmed at once); the moved files are put back between runs,
// untimed. "quillo, find only" stops after the search. QUILLO_BENCH_BASELINE
// names another build's bench_dedup whose Quillo runs beside this one's (an
// earlier version, say). QUILLO_BENCH_PHASES=1 prints Quillo's phase times to
// stderr.
#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "benchsupport.h"
#include "collect/collectcommand.h"
#include "dedup/duplicatepass.h"
#include "journal/runjournal.h"

using namespace quillo;

using quillo::bench::QuietProgress;

namespace {

constexpr qint64 KiB = 1024, MiB = 1024 * KiB;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point t0) {
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

class AlwaysYes final : public MessageBox {
  public:
    Answer show(const QString& text, Buttons) override {
        std::fprintf(stderr, "question: %s\n", qPrintable(text));
        return Answer::Yes;
    }
};

// VmHWM of this process, as the kernel words it.
QByteArray peakResident() {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return "?";
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).simplified();
    return "?";
}

enum class QuilloSide { Pass, Journalled, FindOnly };

// The child's side: one collection and one pass, with or without its journal,
// or the search alone; prints the duplicates moved (or found).
int quilloRun(const QString& root, QuilloSide side) {
    const auto t0 = Clock::now();
    const bool phases = qEnvironmentVariableIsSet("QUILLO_BENCH_PHASES");
    const auto lap = [&](const char* what) {
        if (phases)
            std::fprintf(stderr, "%-9s %.3f s, peak %s\n", what, secondsSince(t0),
                         peakResident().constData());
    };
    FileTable table;
    QuietProgress progress;
    FileSystem& fs = systemFileSystem();
    AlwaysYes box;
    for (const bool reference : {true, false}) {
        CollectRequest request;
        request.reference = reference;
        request.referFolder = root + QStringLiteral("/ref");
        request.selectFolder = root + QStringLiteral("/sel");
        request.subfolderSwitch = CheckValue::On;
        request.extension = QStringLiteral(".JPG");
        (void)runCollect(request, table, progress, box, fs);
    }
    lap("collect");
    qint32 dupCount = 0;
    const DedupOptions options{CheckValue::On, root + QStringLiteral("/削除")};
    DuplicateSearch search =
        findDuplicates(table, options, removalWords(options, false), dupCount, progress, box, fs);
    lap("find");
    if (side == QuilloSide::FindOnly) {
        std::printf("%d\n", int(search.plan.rows.size()));
        return 0;
    }
    RunJournal journal(JournalFolder(systemFileSystem(), root + QStringLiteral("/journal")),
                       JournalKind::Remove);
    RemovalTools tools;
    if (side == QuilloSide::Journalled) tools.journal = &journal;
    (void)removeDuplicates(table, search.plan, options, dupCount, progress, box, fs, tools);
    (void)journal.finish();
    lap("act");
    std::printf("%d\n", dupCount);
    return 0;
}

struct Sample {
    double seconds = 0;
    qint64 bytesRead = 0;    // rchar: bytes through read(2), cached or not
    qint64 deviceBytes = 0;  // read_bytes: what the disk itself delivered
    long maxRssKiB = 0;
    int duplicates = -1;
};

qint64 ioOf(pid_t pid, const QByteArray& field) {
    QFile f(QStringLiteral("/proc/%1/io").arg(pid));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(field)) return line.mid(field.size()).trimmed().toLongLong();
    return -1;
}

// QUILLO_BENCH_COLD=1: every run starts with nothing of the trees cached.
bool coldRuns() {
    return qEnvironmentVariableIsSet("QUILLO_BENCH_COLD");
}
void dropCaches() {
    ::sync();
    QFile drop(QStringLiteral("/proc/sys/vm/drop_caches"));
    if (!drop.open(QIODevice::WriteOnly) || drop.write("3\n") != 2) {
        std::fprintf(stderr, "cannot drop the caches (run as root)\n");
        std::exit(1);
    }
}

// rdfind's summary: "It seems like you have N files that are not unique".
int rdfindDuplicates(const std::string& out) {
    const std::string key = "It seems like you have ";
    const size_t at = out.find(key);
    return at == std::string::npos ? -1 : std::atoi(out.c_str() + at + key.size());
}

// Duplicates in fdupes-style output: lines minus groups (a blank line ends a group).
int countListed(const std::string& out) {
    int lines = 0, groups = 0;
    bool inGroup = false;
    size_t start = 0;
    while (start < out.size()) {
        size_t end = out.find('\n', start);
        if (end == std::string::npos) end = out.size();
        if (end > start) {
            ++lines;
            if (!inGroup) ++groups;
            inGroup = true;
        } else {
            inGroup = false;
        }
        start = end + 1;
    }
    return lines - groups;
}

Sample runProcess(const std::vector<std::string>& args, const std::string& cwd, bool quillo) {
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) std::abort();
    const auto t0 = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (::chdir(cwd.c_str()) != 0) ::_exit(126);
        ::dup2(pipeFds[1], 1);
        const int null = ::open("/dev/null", O_WRONLY);
        if (!quillo) ::dup2(null, 2);
        ::close(pipeFds[0]);
        std::vector<char*> argv;
        for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    std::string out;
    char buf[65536];
    for (ssize_t got; (got = ::read(pipeFds[0], buf, sizeof buf)) > 0;)
        out.append(buf, size_t(got));
    ::close(pipeFds[0]);
    siginfo_t info{};
    ::waitid(P_PID, id_t(pid), &info, WEXITED | WNOWAIT);  // still readable in /proc
    Sample s;
    s.seconds = secondsSince(t0);
    s.bytesRead = ioOf(pid, "rchar:");
    s.deviceBytes = ioOf(pid, "read_bytes:");
    struct rusage ru {};
    int status = 0;
    ::wait4(pid, &status, 0, &ru);
    s.maxRssKiB = ru.ru_maxrss;
    s.duplicates = quillo                ? std::atoi(out.c_str())
                   : args[0] == "rdfind" ? rdfindDuplicates(out)
                                         : countListed(out);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::fprintf(stderr, "%s ended with status %d\n", args[0].c_str(), status);
    return s;
}

// ---- trees ------------------------------------------------------------------

std::mt19937_64 rng(20240601);

void writeBytes(const QString& folder, const QString& name, const QByteArray& bytes) {
    QDir().mkpath(folder);
    QFile f(folder + QLatin1Char('/') + name);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) std::abort();
}

QByteArray randomBytes(qint64 size) {
    QByteArray b(size, Qt::Uninitialized);
    qint64 i = 0;
    for (; i + 8 <= size; i += 8) {
        const quint64 v = rng();
        std::memcpy(b.data() + i, &v, 8);
    }
    for (; i < size; ++i) b[i] = char(rng());
    return b;
}

// The first half of the folders belong to the reference tree.
QString folderOf(const QString& root, int index, int folders) {
    const int f = index % folders;
    return root + (f < folders / 2 ? QStringLiteral("/ref/d") : QStringLiteral("/sel/d")) +
           QStringLiteral("%1").arg(f, 3, 10, QLatin1Char('0'));
}

QString nameOf(int index) {
    return QStringLiteral("IMG_%1.JPG").arg(index, 5, 10, QLatin1Char('0'));
}

// 10,000 files of 4 KiB to 256 KiB in 100 folders, 10 % copies (in the
// extraction tree), 300 same-size files that differ (100 sizes taken thrice).
void mixedTree(const QString& root) {
    std::uniform_int_distribution<qint64> size(4 * KiB, 256 * KiB);
    std::vector<QByteArray> originals;
    int index = 0;
    for (int k = 0; k < 100; ++k) {
        const qint64 s = size(rng);
        for (int r = 0; r < 3; ++r, ++index)
            writeBytes(folderOf(root, index, 100), nameOf(index), randomBytes(s));
    }
    for (; index < 9000; ++index) {
        QByteArray b = randomBytes(size(rng));
        writeBytes(folderOf(root, index, 100), nameOf(index), b);
        if (originals.size() < 1000) originals.push_back(std::move(b));
    }
    for (int k = 0; index < 10000; ++index, ++k)
        writeBytes(folderOf(root, 50 + index % 50, 100), nameOf(index), originals[size_t(k)]);
}

// 2,000 files of 1 MiB sharing their first 64 KiB, 200 of them copies.
void sameSizeTree(const QString& root) {
    const QByteArray head = randomBytes(64 * KiB);
    std::vector<QByteArray> originals;
    int index = 0;
    for (; index < 1800; ++index) {
        QByteArray b = head + randomBytes(MiB - 64 * KiB);
        writeBytes(folderOf(root, index, 20), nameOf(index), b);
        if (originals.size() < 200) originals.push_back(std::move(b));
    }
    for (int k = 0; index < 2000; ++index, ++k)
        writeBytes(folderOf(root, 10 + index % 10, 20), nameOf(index), originals[size_t(k)]);
}

// Two identical sparse files of 3 GiB.
void hugeTree(const QString& root) {
    // Names differ: moved files are put back by name.
    for (const QString& file :
         {QStringLiteral("/ref/HUGE1.JPG"), QStringLiteral("/sel/HUGE2.JPG")}) {
        QDir().mkpath(QFileInfo(root + file).absolutePath());
        QFile f(root + file);
        if (!f.open(QIODevice::WriteOnly) || !f.resize(3 * 1024 * MiB)) std::abort();
    }
}

// ---- the many-file corpora --------------------------------------------------
// Written with plain system calls (a million QFile opens would dominate), each
// file's bytes drawn from its own seed so that a copy is made again from the
// seed alone. A name says its folder, IMG_<folder>_<index>.JPG, so that moved
// files go back without a table of a million names in the measuring process.

quint64 splitmix(quint64& state) {
    quint64 z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

void fillFromSeed(std::string& bytes, quint64 seed) {
    quint64 state = seed;
    for (size_t i = 0; i < bytes.size(); i += 8) {
        const quint64 v = splitmix(state);
        std::memcpy(bytes.data() + i, &v, std::min<size_t>(8, bytes.size() - i));
    }
}

std::string folderPath(const std::string& root, int folder, bool reference) {
    char name[32];
    std::snprintf(name, sizeof name, "/d%04d", folder);
    return root + (reference ? "/ref" : "/sel") + name;
}

void writeRaw(const std::string& folder, int folderNumber, int index, const std::string& bytes) {
    char name[48];
    std::snprintf(name, sizeof name, "/IMG_%04d_%07d.JPG", folderNumber, index);
    const std::string path = folder + name;
    const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0 || ::write(fd, bytes.data(), bytes.size()) != ssize_t(bytes.size()) ||
        ::close(fd) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

void makeFolders(const std::string& root, int from, int to, bool reference) {
    QDir().mkpath(QString::fromStdString(root + (reference ? "/ref" : "/sel")));
    for (int f = from; f < to; ++f) ::mkdir(folderPath(root, f, reference).c_str(), 0755);
}

// files files of 64 bytes: a tenth are originals in ref/ (10 folders), each
// copied once into sel/ (100 folders) among the rest, which are all distinct.
void smallTree(const QString& rootText, int files) {
    const std::string root = rootText.toStdString();
    const int originals = files / 10;
    makeFolders(root, 0, 10, true);
    makeFolders(root, 10, 110, false);
    std::string bytes(64, '\0');
    for (int i = 0; i < originals; ++i) {
        fillFromSeed(bytes, quint64(i));
        writeRaw(folderPath(root, i % 10, true), i % 10, i, bytes);
    }
    for (int k = 0; k < files - originals; ++k) {
        const int index = originals + k;
        fillFromSeed(bytes, quint64(k % 9 == 0 ? k / 9 : index));
        const int folder = 10 + k % 100;
        writeRaw(folderPath(root, folder, false), folder, index, bytes);
    }
}

// 1,000 folders of 1,000 files, the first 500 folders under ref/, sizes 200 to
// 3,000 bytes; every tenth file is a copy of an earlier one that is not a copy.
void millionTree(const QString& rootText) {
    const std::string root = rootText.toStdString();
    makeFolders(root, 0, 500, true);
    makeFolders(root, 500, 1000, false);
    // Two writers, one per half: file creation is mostly system time.
    const pid_t other = ::fork();
    std::string bytes;
    for (int i = other == 0 ? 0 : 500 * 1000; i < (other == 0 ? 500 : 1000) * 1000; ++i) {
        int source = i;
        if (i % 10 == 9) {
            quint64 pick = quint64(i);
            source = int(splitmix(pick) % quint64(i));
            if (source % 10 == 9) --source;
        }
        quint64 state = quint64(source) ^ 0x6D696C6C696F6Eull;
        bytes.resize(size_t(200 + splitmix(state) % 2801));
        fillFromSeed(bytes, state);
        const int folder = i / 1000;
        writeRaw(folderPath(root, folder, folder < 500), folder, i, bytes);
    }
    if (other == 0) ::_exit(0);
    int status = 0;
    if (::waitpid(other, &status, 0) != other || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        std::abort();
}

bool isManyFileKind(const QString& kind) {
    return kind.startsWith(QLatin1String("small")) || kind == QLatin1String("million");
}

void makeTree(const QString& kind, const QString& root) {
    if (kind == QLatin1String("mixed"))
        mixedTree(root);
    else if (kind == QLatin1String("same"))
        sameSizeTree(root);
    else if (kind == QLatin1String("small40k"))
        smallTree(root, 40000);
    else if (kind == QLatin1String("small200k"))
        smallTree(root, 200000);
    else if (kind == QLatin1String("million"))
        millionTree(root);
    else
        hugeTree(root);
}

struct Tree {
    QString root;
    QHash<QString, QString> home;  // file name -> folder, to put moved files back
    qint64 totalBytes = 0;
    int files = 0;
};

// The tree as it stands on disk: where each file lives, and the totals. The
// homes of a many-file corpus are read off the names instead.
Tree listTree(const QString& root, bool keepHomes) {
    Tree t{root, {}, 0, 0};
    QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        it.next();
        if (keepHomes) t.home.insert(it.fileName(), it.fileInfo().absolutePath());
        t.totalBytes += it.fileInfo().size();
        ++t.files;
    }
    return t;
}

// The folder of IMG_<folder>_<index>.JPG: d<folder> under ref/ or sel/.
QString homeFromName(const Tree& t, const QString& name, QHash<QString, QString>& folders) {
    const QString folder = QLatin1Char('d') + name.mid(4, 4);
    auto it = folders.find(folder);
    if (it == folders.end()) {
        const QString ref = t.root + QStringLiteral("/ref/") + folder;
        it = folders.insert(
            folder, QFileInfo::exists(ref) ? ref : t.root + QStringLiteral("/sel/") + folder);
    }
    return it.value();
}

void restore(const Tree& t) {
    const QString del = t.root + QStringLiteral("/削除");
    QHash<QString, QString> folders;
    for (const QString& name : QDir(del).entryList(QDir::Files, QDir::Unsorted)) {
        const auto known = t.home.constFind(name);
        const QString home =
            known != t.home.constEnd() ? known.value() : homeFromName(t, name, folders);
        if (!QFile::rename(del + QLatin1Char('/') + name, home + QLatin1Char('/') + name)) {
            std::fprintf(stderr, "cannot restore %s\n", qPrintable(name));
            std::abort();
        }
    }
}

Sample medianOf(std::vector<Sample> v) {
    std::sort(v.begin(), v.end(),
              [](const Sample& a, const Sample& b) { return a.seconds < b.seconds; });
    return v[v.size() / 2];
}

bool installed(const std::string& tool) {
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

void benchTree(const char* label, const Tree& t, const std::string& self) {
    const std::string ref = (t.root + QStringLiteral("/ref")).toStdString();
    const std::string sel = (t.root + QStringLiteral("/sel")).toStdString();
    const std::string cwd = t.root.toStdString();
    QDir().mkpath(t.root + QStringLiteral("/削除"));
    struct Tool {
        const char* name;
        std::vector<std::string> args;
        bool quillo;
    };
    std::vector<Tool> tools{
        {"(process baseline)", {"true"}, false},
        {"quillo", {self, "--quillo", cwd}, true},
        {"quillo, find only", {self, "--quillo-find", cwd}, true},
        {"quillo, journal on", {self, "--quillo-journal", cwd}, true},
        {"jdupes -r -q", {"jdupes", "-r", "-q", ref, sel}, false},
        {"fdupes -r -q -n", {"fdupes", "-r", "-q", "-n", ref, sel}, false},
        {"rmlint -T df -o fdupes", {"rmlint", "-T", "df", "-o", "fdupes", ref, sel}, false},
        {"rdfind -dryrun",
         {"rdfind", "-dryrun", "true", "-makeresultsfile", "false", ref, sel},
         false}};
    const std::string baseline = qEnvironmentVariable("QUILLO_BENCH_BASELINE").toStdString();
    if (!baseline.empty())
        tools.push_back({"quillo, baseline build", {baseline, "--quillo", cwd}, true});
    const QStringList skip =
        qEnvironmentVariable("QUILLO_BENCH_SKIP").split(QLatin1Char(','), Qt::SkipEmptyParts);
    tools.erase(std::remove_if(tools.begin(), tools.end(),
                               [&](const Tool& x) {
                                   return !x.quillo &&
                                          (!installed(x.args[0]) ||
                                           skip.contains(QString::fromStdString(x.args[0])));
                               }),
                tools.end());
    std::vector<std::vector<Sample>> samples(tools.size());
    int rounds = 5;
    double slowest = 0;
    for (int round = -1; round < rounds; ++round) {  // round -1 warms the cache
        for (size_t k = 0; k < tools.size(); ++k) {
            if (coldRuns()) dropCaches();
            const Sample s = runProcess(tools[k].args, cwd, tools[k].quillo);
            if (tools[k].quillo && tools[k].args[1] != "--quillo-find") restore(t);
            // Freed heap goes back too: a tool started next counts this
            // process's resident pages as its own until it execs.
            ::malloc_trim(0);
            if (round >= 0) samples[k].push_back(s);
            slowest = std::max(slowest, s.seconds);
        }
        // Five rounds of a corpus this slow would not fit in a sitting.
        if (round == -1 && slowest > 60) rounds = 3;
    }
    std::printf("\n%s: %d files, %.1f MiB (median of %d, %s cache%s)\n", label, t.files,
                double(t.totalBytes) / double(MiB), rounds, coldRuns() ? "cold" : "warm",
                rounds == 5 ? "" : "; of 3 because a warming run took over 60 s");
    std::printf("%-24s %9s %12s %12s %10s %6s\n", "tool", "wall s", "read MiB", "disk MiB",
                "peak MiB", "dups");
    double quillo = 0, journalled = 0, findOnly = 0, before = 0, jdupes = 0;
    double fastestPeer = 0;
    for (size_t k = 0; k < tools.size(); ++k) {
        const Sample mid = medianOf(samples[k]);
        const std::string& side = tools[k].quillo ? tools[k].args[1] : std::string();
        if (tools[k].args[0] == baseline)
            before = mid.seconds;
        else if (side == "--quillo")
            quillo = mid.seconds;
        else if (side == "--quillo-journal")
            journalled = mid.seconds;
        else if (side == "--quillo-find")
            findOnly = mid.seconds;
        if (tools[k].args[0] == "jdupes") jdupes = mid.seconds;
        if (!tools[k].quillo && tools[k].args[0] != "true" &&
            (fastestPeer == 0 || mid.seconds < fastestPeer))
            fastestPeer = mid.seconds;
        std::printf("%-24s %9.3f %12.1f %12.1f %10.1f %6d\n", tools[k].name, mid.seconds,
                    double(mid.bytesRead) / double(MiB), double(mid.deviceBytes) / double(MiB),
                    double(mid.maxRssKiB) / 1024.0, mid.duplicates);
    }
    std::printf("journal on / off: %.3f (%s the 1.10 limit)\n", journalled / quillo,
                journalled <= 1.10 * quillo ? "within" : "over");
    if (jdupes > 0)
        std::printf("quillo / jdupes: %.2f (%s the 1.00 target); find only / jdupes: %.2f\n",
                    quillo / jdupes, quillo <= jdupes ? "meets" : "misses", findOnly / jdupes);
    if (fastestPeer > 0)
        std::printf("quillo / fastest peer: %.2f; find only / fastest peer: %.2f\n",
                    quillo / fastestPeer, findOnly / fastestPeer);
    if (before > 0)
        std::printf(
            "against the baseline build: find + act %.3f (limit 1.15), find only %.3f "
            "(limit 1.00)\n",
            quillo / before, findOnly / before);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--quillo") == 0)
        return quilloRun(QString::fromLocal8Bit(argv[2]), QuilloSide::Pass);
    if (argc == 3 && std::strcmp(argv[1], "--quillo-journal") == 0)
        return quilloRun(QString::fromLocal8Bit(argv[2]), QuilloSide::Journalled);
    if (argc == 3 && std::strcmp(argv[1], "--quillo-find") == 0)
        return quilloRun(QString::fromLocal8Bit(argv[2]), QuilloSide::FindOnly);
    if (argc == 4 && std::strcmp(argv[1], "--make") == 0) {  // a tree to profile by hand
        const QString root = QString::fromLocal8Bit(argv[3]);
        makeTree(QString::fromLocal8Bit(argv[2]), root);
        QDir().mkpath(root + QStringLiteral("/削除"));
        QFile marker(root + QStringLiteral("/.complete"));
        if (!marker.open(QIODevice::WriteOnly)) return 1;
        return 0;
    }
    const QString work =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("/tmp/quillo-bench-dedup");
    QStringList which;
    for (int i = 2; i < argc; ++i) which << QString::fromLocal8Bit(argv[i]);
    if (which.isEmpty())
        which = {QStringLiteral("mixed"), QStringLiteral("same"), QStringLiteral("huge")};
    char selfPath[4096];
    const ssize_t len = ::readlink("/proc/self/exe", selfPath, sizeof selfPath - 1);
    if (len <= 0) return 1;
    const std::string self(selfPath, size_t(len));

    // QUILLO_BENCH_KEEP=1: a complete tree from an earlier run is reused, and
    // the trees are left in place (the million tree takes a while to write).
    const bool keep = qEnvironmentVariableIsSet("QUILLO_BENCH_KEEP");
    for (const QString& w : which) {
        const QString root = work + QLatin1Char('/') + w;
        const QString complete = root + QStringLiteral("/.complete");
        const bool reuse = keep && QFileInfo::exists(complete);
        if (!reuse) QDir(root).removeRecursively();
        const QHash<QString, const char*> labels{
            {QStringLiteral("mixed"), "Mixed"},
            {QStringLiteral("same"), "Same size"},
            {QStringLiteral("huge"), "Huge sparse"},
            {QStringLiteral("small40k"), "Same size 64 B, 40,000"},
            {QStringLiteral("small200k"), "Same size 64 B, 200,000"},
            {QStringLiteral("million"), "Million (1,000 x 1,000, 200-3,000 B)"}};
        if (!labels.contains(w)) {
            std::fprintf(stderr, "unknown corpus %s\n", qPrintable(w));
            return 1;
        }
        // Built in a child so that this process stays small: a forked tool
        // starts with this process's resident pages counted as its own.
        const auto t0 = std::chrono::steady_clock::now();
        const pid_t pid = reuse ? 0 : ::fork();
        if (!reuse && pid == 0) {
            makeTree(w, root);
            QFile marker(complete);
            ::_exit(marker.open(QIODevice::WriteOnly) ? 0 : 1);
        }
        int status = 0;
        if (!reuse) ::waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return 1;
        if (reuse)
            std::printf("\n(reusing %s)\n", qPrintable(root));
        else if (isManyFileKind(w))
            std::printf("\n(%s generated in %.0f s)\n", qPrintable(w), secondsSince(t0));
        std::fflush(stdout);
        benchTree(labels.value(w), listTree(root, !isManyFileKind(w)), self);
        if (!keep) QDir(root).removeRecursively();
    }
    return 0;
}
