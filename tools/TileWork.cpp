#include "tools/TileWork.h"

#include "analysis/LaneMap.h"
#include "app/Runner.h"
#include "model/KindTable.h"
#include "model/VectorState.h"
#include "tools/Peers.h"

#include <QThreadPool>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <functional>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <type_traits>
#include <unistd.h>

namespace qel {

namespace {

// A field added to a result must be carried in the tile lines as well.
static_assert(sizeof(CLyapunovResult) == 32 && sizeof(CMapCell) == 40 &&
                  sizeof(CColumnResult) == 48,
              "carry every field of the results in TileLine and ReadTileLine");
// The job goes to the other processes as its bytes (they run the same program).
static_assert(std::is_trivially_copyable_v<CTileJob>);

enum ETag : int { kOrder = 1, kHello = 2, kResult = 3, kTile = 4 };

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;
// Whoever waits on another process looks for its messages this often, asleep in between:
// a blocking MPI call would spin and take a core from the cells.
constexpr milliseconds kPoll{1};

const char kMagic[] = "qel-render checkpoint 1";

void Hex(std::string& out, uint64_t v) {
    static const char digits[] = "0123456789abcdef";
    char text[16];
    for (int k = 15; k >= 0; --k, v >>= 4)
        text[k] = digits[v & 15];
    out.append(text, 16);
}

void Hex(std::string& out, double v) {
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    Hex(out, bits);
}

bool ReadHex(std::string_view s, uint64_t& v) {
    v = 0;
    if (s.size() != 16)
        return false;
    for (char c : s) {
        const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (d < 0)
            return false;
        v = v << 4 | static_cast<uint64_t>(d);
    }
    return true;
}

bool ReadHex(std::string_view s, double& v) {
    uint64_t bits;
    if (!ReadHex(s, bits))
        return false;
    std::memcpy(&v, &bits, sizeof v);
    return true;
}

// FNV-1a: enough to tell a line that was cut or overwritten from one that was written whole.
uint64_t CheckSum(std::string_view s) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : s)
        h = (h ^ c) * 0x100000001b3ull;
    return h;
}

// A digit '0' + v for v in [0, n); -1 for anything else.
int Digit(char c, int n) {
    return c >= '0' && c < '0' + n ? c - '0' : -1;
}

// Outcomes a finished tile can hold (a cancelled cell is never written).
constexpr int kFinishedOutcomes = static_cast<int>(EOutcome::Cancelled);

bool ReadCell(std::string_view t, CMapCell& c) {
    // exponent, error, time (16 hex digits each), outcome, converged, steady state (-, 0, 1)
    if (t.size() != 51 || !ReadHex(t.substr(0, 16), c.r.dExponent) ||
        !ReadHex(t.substr(16, 16), c.r.dError) || !ReadHex(t.substr(32, 16), c.r.dTime))
        return false;
    const int outcome = Digit(t[48], kFinishedOutcomes), converged = Digit(t[49], 2);
    const int stable = t[50] == '-' ? -1 : Digit(t[50], 2);
    if (outcome < 0 || converged < 0 || (stable < 0 && t[50] != '-'))
        return false;
    c.r.eOutcome = static_cast<EOutcome>(outcome);
    c.r.bConverged = converged;
    c.nStable = static_cast<int8_t>(stable);
    return true;
}

bool ReadColumn(std::string_view t, CColumnResult& c) {
    // outcome, steady, settled in, transient (16 hex digits), ':', the maxima (16 each)
    if (t.size() < 20 || t[19] != ':' || (t.size() - 20) % 16 ||
        (t.size() - 20) / 16 > static_cast<size_t>(kMaximaPerColumn))
        return false;
    const int outcome = Digit(t[0], kFinishedOutcomes), steady = Digit(t[1], 2);
    const int settled = Digit(t[2], 2);
    if (outcome < 0 || steady < 0 || settled < 0 || !ReadHex(t.substr(3, 16), c.dTransient))
        return false;
    c.eOutcome = static_cast<EOutcome>(outcome);
    c.bSteady = steady;
    c.bSettledIn = settled;
    c.maxima.resize((t.size() - 20) / 16);
    for (size_t k = 0; k < c.maxima.size(); ++k)
        if (!ReadHex(t.substr(20 + 16 * k, 16), c.maxima[k]))
            return false;
    return true;
}

// The longest line a tile of the job can take.
size_t LineLimit(const CTileJob& job) {
    const size_t item = job.bMap ? 52 : 21 + 16 * static_cast<size_t>(kMaximaPerColumn);
    return 32 + item * static_cast<size_t>(job.PerTile());
}

// The shortest text that reads back as the same double, whatever the locale.
std::string Number(double v) {
    char text[40];
    return std::string(text, std::to_chars(text, text + sizeof text, v).ptr);
}

std::string Say(const std::string& why) {
    std::fprintf(stderr, "qel-render: %s\n", why.c_str());
    return why;
}

// Tiles still to hand out. Process 0 fills it once; the others as process 0 sends tiles.
class CTileQueue {
public:
    void Push(int tile) {
        {
            std::lock_guard lock(m_mutex);
            m_tiles.push_back(tile);
        }
        m_ready.notify_one();
    }
    void Close() {
        {
            std::lock_guard lock(m_mutex);
            m_bClosed = true;
        }
        m_ready.notify_all();
    }
    // The next tile, waiting for one while the queue is open; -1 when it is closed and empty.
    int Pop() {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return !m_tiles.empty() || m_bClosed; });
        return Take();
    }
    // The next tile or -1, without waiting.
    int TryPop() {
        std::lock_guard lock(m_mutex);
        return Take();
    }

private:
    int Take() {
        if (m_tiles.empty())
            return -1;
        const int tile = m_tiles.front();
        m_tiles.pop_front();
        return tile;
    }
    std::mutex m_mutex;
    std::condition_variable m_ready;
    std::deque<int> m_tiles;
    bool m_bClosed = false;
};

// This process's threads, on the one pool of long work: each takes a tile from next() until
// it gives -1 and hands back the tile's line.
class CTileThreads {
public:
    CTileThreads(const CTileJob& job, int threads, std::function<int()> next)
        : m_job(job), m_order(job.Order()), m_next(std::move(next)) {
        CRunner::StartPool(threads); // once, before: a failure has been told there
        QList<int> loops;
        for (int k = 0; k < Count(); ++k)
            loops.push_back(k);
        m_runner.Start<int>(
            loops, [this](int, CRunnerTask& task) { return Loop(task), 0; }, [](int, int&&) {});
    }
    ~CTileThreads() { m_runner.Wait(); }
    int Count() const { return std::max(1, CRunner::Pool()->maxThreadCount()); }
    // The lines finished since the last call, waiting up to `wait` for the first.
    std::vector<std::string> Take(milliseconds wait) {
        std::unique_lock lock(m_mutex);
        m_done.wait_for(lock, wait, [this] { return !m_lines.empty() || m_bFailed; });
        std::vector<std::string> lines(std::make_move_iterator(m_lines.begin()),
                                       std::make_move_iterator(m_lines.end()));
        m_lines.clear();
        return lines;
    }
    bool Failed() {
        std::lock_guard lock(m_mutex);
        return m_bFailed;
    }

private:
    void Loop(CRunnerTask& task) {
        try {
            for (int tile; !task.Cancelled() && (tile = m_next()) >= 0;) {
                qel::CleanVectorState();
                std::string line = TileLine(m_job, m_order, tile, task.CancelFlag());
                if (task.Cancelled())
                    return;
                std::lock_guard lock(m_mutex);
                m_lines.push_back(std::move(line));
                m_done.notify_one();
            }
        } catch (const std::exception&) { // memory for a tile's results
            std::lock_guard lock(m_mutex);
            m_bFailed = true;
            m_done.notify_one();
        }
    }

    const CTileJob& m_job;
    const std::vector<int> m_order;
    std::function<int()> m_next;
    std::mutex m_mutex;
    std::condition_variable m_done;
    std::deque<std::string> m_lines;
    bool m_bFailed = false;
    CRunner m_runner; // last: stopped first
};

// The lines of a file from its start, each with whether a newline ended it. A line longer than
// the limit comes back cut just past it (no tile's line is that long).
class CLineReader {
public:
    CLineReader(int fd, size_t limit) : m_fd(fd), m_nLimit(limit) {}
    // False at the end of the file or on a read error (then Error() is set).
    bool Next(std::string& line, bool& complete) {
        line.clear();
        complete = false;
        for (bool any = false;;) {
            if (m_nPos == m_buffer.size() && !Fill())
                return any;
            any = true;
            const size_t nl = m_buffer.find('\n', m_nPos);
            const size_t end = nl == std::string::npos ? m_buffer.size() : nl;
            if (line.size() <= m_nLimit)
                line.append(m_buffer, m_nPos, std::min(end - m_nPos, m_nLimit + 1 - line.size()));
            m_nEnd += static_cast<off_t>(end - m_nPos) + (nl != std::string::npos);
            m_nPos = nl == std::string::npos ? end : nl + 1;
            if (nl != std::string::npos)
                return complete = true;
        }
    }
    // Bytes up to the end of the last line returned.
    off_t End() const { return m_nEnd; }
    int Error() const { return m_nError; }

private:
    bool Fill() {
        m_buffer.resize(1 << 16);
        m_nPos = 0;
        ssize_t n;
        while ((n = read(m_fd, m_buffer.data(), m_buffer.size())) < 0 && errno == EINTR) {
        }
        m_nError = n < 0 ? errno : 0;
        m_buffer.resize(n > 0 ? static_cast<size_t>(n) : 0);
        return n > 0;
    }
    int m_fd;
    size_t m_nLimit;
    std::string m_buffer;
    size_t m_nPos = 0;
    off_t m_nEnd = 0;
    int m_nError = 0;
};

// The checkpoint: the header, then one line per finished tile, appended as tiles come in. It is
// a log and so not written through the atomic writer; a line cut by a kill is recognised by its
// check sum and computed again. Locked while open, so two runs never append to one file.
class CCheckpoint {
public:
    ~CCheckpoint() {
        if (m_fd >= 0)
            close(m_fd);
    }
    bool IsOpen() const { return m_fd >= 0; }

    // Reads the tiles it holds into out and done, or starts it. False with the reason.
    bool Open(const std::string& path, const CTileJob& job, const std::vector<int>& order,
              CGathered& out, std::vector<char>& done, std::string& why) {
        m_strPath = path;
        m_fd = open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        struct stat st {};
        if (m_fd < 0 || fstat(m_fd, &st) != 0)
            return Fail("cannot open", why);
        if (!S_ISREG(st.st_mode)) {
            why = "checkpoint " + path + " is not a regular file";
            return false;
        }
        if (flock(m_fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) {
            why = "checkpoint " + path + " is in use by another qel-render";
            return false;
        }
        const std::string header = CheckpointHeader(job);
        if (st.st_size == 0) {
            if (Append(header, why) && Sync(why))
                return true;
            (void)!ftruncate(m_fd, 0);
            return false;
        }
        CLineReader reader(m_fd, std::max(LineLimit(job), header.size()));
        std::string line;
        bool complete = false;
        for (size_t at = 0; at < header.size();) {
            const size_t nl = header.find('\n', at);
            const std::string want = header.substr(at, nl - at);
            const bool got = reader.Next(line, complete) && complete;
            if (!got && reader.Error())
                return Fail("cannot read", why);
            if (at == 0 && (!got || line != want)) {
                why = path + " is not a qel-render checkpoint (it does not start with '" + kMagic +
                      "'); give another file";
                return false;
            }
            if (!got || line != want) {
                why = "checkpoint " + path + " is from another run: it has '" +
                      (got ? line : "the end of the file") + "' where this run has '" + want +
                      "'; give another file, or remove it to start again";
                return false;
            }
            at = nl + 1;
        }
        const double most = static_cast<double>(header.size()) +
                            static_cast<double>(job.Tiles()) * (LineLimit(job) + 1);
        if (static_cast<double>(st.st_size) > most) {
            why = "checkpoint " + path + " is larger than any checkpoint of this run (" +
                  std::to_string(st.st_size) + " bytes); give another file";
            return false;
        }
        off_t good = reader.End();
        int damaged = 0, number = static_cast<int>(std::count(header.begin(), header.end(), '\n'));
        for (; reader.Next(line, complete); ++number) {
            if (damaged) {
                why = "checkpoint " + path + " is damaged at line " + std::to_string(damaged) +
                      "; remove that line (its tile is computed again) or the file";
                return false;
            }
            int tile = -1;
            if (complete && ReadTileLine(job, order, line, out, tile)) {
                out.nResumed += !done[tile];
                done[tile] = 1;
                good = reader.End();
            } else
                damaged = number + 1;
        }
        if (reader.Error())
            return Fail("cannot read", why);
        if (damaged) {
            // The last line: where a stopped run was writing. Its tile is computed again.
            std::fprintf(stderr,
                         "qel-render: checkpoint %s: line %d was cut off when the run was "
                         "stopped; its tile is computed again\n",
                         path.c_str(), damaged);
            if (ftruncate(m_fd, good) != 0)
                return Fail("cannot shorten", why);
        }
        return true;
    }

    bool Append(const std::string& text, std::string& why) {
        for (size_t at = 0; at < text.size();) {
            const ssize_t n = write(m_fd, text.data() + at, text.size() - at);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return Fail("cannot write", why);
            at += static_cast<size_t>(n);
        }
        // The system keeps what was written when the process is killed; a synced file also
        // outlives the machine.
        return Clock::now() - m_synced < std::chrono::seconds(10) || Sync(why);
    }

    bool Sync(std::string& why) {
        m_synced = Clock::now();
        return fdatasync(m_fd) == 0 || Fail("cannot write", why);
    }

private:
    bool Fail(const char* what, std::string& why) {
        why = std::string(what) + " checkpoint " + m_strPath + ": " + std::strerror(errno);
        return false;
    }
    std::string m_strPath;
    int m_fd = -1;
    Clock::time_point m_synced = Clock::now();
};

volatile std::sig_atomic_t g_nStopSignal = 0;

extern "C" void OnStopSignal(int signal) {
    g_nStopSignal = signal;
}

// While tiles are gathered, a stop (Slurm's pre-emption, Ctrl+C) ends the run between two
// checkpoint lines and says what is kept.
class CStopSignals {
public:
    CStopSignals() {
        struct sigaction action {};
        action.sa_handler = OnStopSignal;
        sigemptyset(&action.sa_mask);
        for (int k = 0; k < 3; ++k)
            sigaction(kSignals[k], &action, &m_old[k]);
    }
    ~CStopSignals() {
        for (int k = 0; k < 3; ++k)
            sigaction(kSignals[k], &m_old[k], nullptr);
    }

private:
    static constexpr int kSignals[3] = {SIGTERM, SIGINT, SIGHUP};
    struct sigaction m_old[3];
};

void SendOrder(CPeers& peers, int code, const CTileJob* job) {
    if (peers.m_bOrdered)
        return;
    peers.m_bOrdered = true;
    std::string order(reinterpret_cast<const char*>(&code), sizeof code);
    if (job)
        order.append(reinterpret_cast<const char*>(job), sizeof *job);
    for (int r = 1; r < peers.Count(); ++r)
        peers.Send(r, kOrder, order);
}

} // namespace

int CTileJob::PerTile() const {
    // A map's tile fills the widest lanes (AVX-512: 8 doubles) eight cells deep, so that few
    // lanes idle while a tile's last cells end; whatever the machine's own lanes, so that a
    // checkpoint fits any machine. A 1024 x 1024 map has 16384 tiles, enough for thousands of
    // threads to even out. Diagrams (one column at a time) take a few columns a tile.
    return bMap ? 64 : std::clamp(Items() / 256, 1, 8);
}

std::vector<int> CTileJob::Order() const {
    if (bMap)
        return CoarseToFineOrder(sweep.nCount[0], sweep.nCount[1]);
    std::vector<int> order(static_cast<size_t>(Items()));
    for (int k = 0; k < Items(); ++k)
        order[static_cast<size_t>(k)] = k;
    return order;
}

std::string Arithmetic() {
    // glibc's sin, cos and atan take their FMA variant where the processor has FMA and AVX2.
    const bool fma = __builtin_cpu_supports("fma") && __builtin_cpu_supports("avx2");
    return LaneTarget() + " lanes, libm " + (fma ? "with" : "without") + " FMA";
}

int CTileJob::Size(int tile) const {
    return std::min(PerTile(), Items() - tile * PerTile());
}

std::string TileLine(const CTileJob& job, const std::vector<int>& order, int tile,
                     const std::atomic<bool>* cancel) {
    std::string line = "tile " + std::to_string(tile);
    const int* items = order.data() + static_cast<size_t>(tile) * job.PerTile();
    std::vector<CMapCell> cells(job.bMap ? static_cast<size_t>(job.Size(tile)) : 0);
    if (job.bMap)
        MapCells(job.sweep, items, job.Size(tile), cells.data(), cancel);
    for (int k = 0; k < job.Size(tile); ++k) {
        line += ' ';
        if (job.bMap) {
            const CMapCell& c = cells[static_cast<size_t>(k)];
            if (c.r.eOutcome == EOutcome::Cancelled)
                return {};
            Hex(line, c.r.dExponent);
            Hex(line, c.r.dError);
            Hex(line, c.r.dTime);
            line += static_cast<char>('0' + static_cast<int>(c.r.eOutcome));
            line += c.r.bConverged ? '1' : '0';
            line += c.nStable < 0 ? '-' : c.nStable ? '1' : '0';
        } else {
            const CColumnResult c = DiagramColumn(job.sweep, items[k], cancel);
            if (c.eOutcome == EOutcome::Cancelled)
                return {};
            line += static_cast<char>('0' + static_cast<int>(c.eOutcome));
            line += c.bSteady ? '1' : '0';
            line += c.bSettledIn ? '1' : '0';
            Hex(line, c.dTransient);
            line += ':';
            for (double m : c.maxima)
                Hex(line, m);
        }
    }
    line += ' ';
    Hex(line, CheckSum(line));
    line += '\n';
    return line;
}

bool ReadTileLine(const CTileJob& job, const std::vector<int>& order, std::string_view line,
                  CGathered& into, int& tile) {
    if (!line.empty() && line.back() == '\n')
        line.remove_suffix(1);
    const size_t sum = line.rfind(' ');
    uint64_t check = 0;
    if (sum == std::string_view::npos || !ReadHex(line.substr(sum + 1), check) ||
        check != CheckSum(line.substr(0, sum + 1)) || line.substr(0, 5) != "tile ")
        return false;
    std::string_view rest = line.substr(5, sum - 5);
    size_t at = rest.find(' ');
    const std::string_view number = rest.substr(0, at);
    if (number.empty() || number.size() > 9 ||
        !std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    tile = std::stoi(std::string(number));
    if (tile >= job.Tiles())
        return false;
    const int first = tile * job.PerTile(), count = job.Size(tile);
    std::vector<CMapCell> cells(job.bMap ? count : 0);
    std::vector<CColumnResult> columns(job.bMap ? 0 : count);
    for (int k = 0; k < count; ++k) {
        if (at == std::string_view::npos)
            return false;
        rest.remove_prefix(at + 1);
        at = rest.find(' ');
        const std::string_view item = rest.substr(0, at);
        if (job.bMap ? !ReadCell(item, cells[k]) : !ReadColumn(item, columns[k]))
            return false;
    }
    if (at != std::string_view::npos)
        return false;
    for (int k = 0; k < count; ++k)
        if (job.bMap)
            into.cells.at(order.at(first + k)) = cells[k];
        else
            into.columns.at(order.at(first + k)) = std::move(columns[k]);
    return true;
}

std::string CheckpointHeader(const CTileJob& job) {
    const CSweep& s = job.sweep;
    std::string h = std::string(kMagic) + "\n";
    auto line = [&h](const std::string& text) { h += text + "\n"; };
    line(std::string("analysis ") + (job.bMap ? "map" : "bifurcation") + " of " +
         AttractorKindName(s.nKind));
    for (int k = 0; k < (job.bMap ? 2 : 1); ++k)
        line("axis " + AxisKey(s.nAxis[k]) + " from " + Number(s.lo[k]) + " to " + Number(s.hi[k]) +
             " in " + std::to_string(s.nCount[k]));
    line("tile " + std::to_string(job.PerTile()) +
         (job.bMap ? " cells, coarse to fine" : " columns"));
    line("arithmetic " + Arithmetic());
    line(std::string("method ") + MethodKey(job.bMap ? s.run.eMethod : s.diagram.eMethod));
    if (job.bMap)
        line("run transient " + Number(s.run.dTransient) + " error " + Number(s.run.dTargetError) +
             " max-time " + Number(s.run.dMaxTime) + " tolerance " + Number(s.run.dTolerance));
    else
        line("run transient " + Number(s.diagram.dMaxTransient) + " maxima " +
             std::to_string(s.diagram.nMaxima) + " max-time " + Number(s.diagram.dMaxTime) +
             " tolerance " + Number(s.diagram.dTolerance) + " variable " +
             static_cast<char>('x' + s.nVariable));
    if (job.bMap && s.bSteadyStates) {
        std::string box = "steady-states in";
        for (int v = 0; v < 3; ++v)
            box += " " + Number(s.box[0][v]) + ":" + Number(s.box[1][v]);
        line(box);
    }
    // The values the cells run with, but for the swept ones; the Variation only where the
    // drawing step uses it.
    const EMethod method = job.bMap ? s.run.eMethod : s.diagram.eMethod;
    std::string values = "values";
    for (int axis = 0; axis < kAxisCount; ++axis) {
        const bool swept = axis == s.nAxis[0] || (job.bMap && axis == s.nAxis[1]);
        const bool used = axis < kAxisX0 ? axis < UsedParameterCount(s.nKind)
                                         : axis != kAxisVariation || method == EMethod::AsDrawn;
        if (used && !swept)
            values += " " + AxisKey(axis) + "=" + Number(s.base.Axis(axis));
    }
    line(values);
    line("end");
    return h;
}

int GatherTiles(CPeers& peers, const CTileJob& job, int threads, const std::string& path,
                CGathered& out) {
    if (job.bMap)
        out.cells.assign(static_cast<size_t>(job.Items()), {});
    else
        out.columns.assign(static_cast<size_t>(job.Items()), {});
    std::vector<char> done(static_cast<size_t>(job.Tiles()), 0);
    const std::vector<int> order = job.Order();
    CCheckpoint checkpoint;
    std::string why;
    if (!path.empty() && !checkpoint.Open(path, job, order, out, done, why)) {
        Say(why);
        SendOrder(peers, 1, nullptr);
        return 1;
    }
    CTileQueue queue;
    int needed = 0;
    for (int t = 0; t < job.Tiles(); ++t)
        if (!done[t]) {
            queue.Push(t);
            ++needed;
        }
    queue.Close();
    SendOrder(peers, 0, &job);
    CStopSignals stops;
    CTileThreads local(job, threads, [&queue] { return queue.TryPop(); });
    int got = 0, hellos = 0;
    auto record = [&](const std::string& line) {
        int tile = -1;
        if (!ReadTileLine(job, order, line, out, tile) || done[tile]) {
            why = "a process sent a damaged tile";
            return false;
        }
        done[tile] = 1;
        ++got;
        return !checkpoint.IsOpen() || checkpoint.Append(line, why);
    };
    auto fail = [&](int code = 1) {
        Say(why);
        if (peers.Count() > 1)
            peers.Abort(code); // the others may be waiting on this process: end them all
        return code;
    };
    while (got < needed || hellos < peers.Count() - 1) {
        if (const int signal = g_nStopSignal) {
            why = "stopped by signal " + std::to_string(signal) + " with " +
                  std::to_string(out.nResumed + got) + " of " + std::to_string(job.Tiles()) +
                  " tiles done; " +
                  (checkpoint.IsOpen()
                       ? "they are in " + path + ": the same command finishes the rest"
                       : std::string("no file is written"));
            return fail(128 + signal);
        }
        for (const std::string& line : local.Take(peers.Count() > 1 ? kPoll : milliseconds(200)))
            if (!record(line))
                return fail();
        if (local.Failed()) {
            why = "not enough memory for a tile's results";
            return fail();
        }
        int from = 0, tag = 0;
        for (std::string bytes; peers.Receive(from, tag, bytes);) {
            int asked = 1;
            if (tag == kHello) {
                // "THREADS ARITHMETIC": a process whose cells would differ in their last bits
                // may not take part.
                ++hellos;
                const size_t space = bytes.find(' ');
                asked = std::clamp(std::atoi(bytes.c_str()), 1, 4096);
                if (space == std::string::npos || bytes.substr(space + 1) != Arithmetic()) {
                    why = "process " + std::to_string(from) + " computes with " +
                          (space == std::string::npos ? "?" : bytes.substr(space + 1)) +
                          ", process 0 with " + Arithmetic() +
                          ": their cells would differ in the last bits; run on machines of "
                          "one kind";
                    return fail();
                }
            } else if (tag == kResult && !record(bytes))
                return fail();
            for (; asked > 0; --asked)
                peers.Send(from, kTile, std::to_string(queue.TryPop()));
        }
    }
    if (checkpoint.IsOpen() && !checkpoint.Sync(why))
        return fail();
    peers.Leave(); // every tile is in: the others may go while this one writes the files
    return 0;
}

void DismissPeers(CPeers& peers, int code) {
    SendOrder(peers, code ? code : 1, nullptr);
}

int ServeTiles(CPeers& peers, int threads) {
    int from = 0, tag = 0;
    std::string bytes;
    while (!peers.Receive(from, tag, bytes))
        std::this_thread::sleep_for(kPoll);
    int code = 1;
    CTileJob job;
    if (tag != kOrder || bytes.size() < sizeof code)
        return 1;
    std::memcpy(&code, bytes.data(), sizeof code);
    if (code || bytes.size() != sizeof code + sizeof job)
        return code ? code : 1;
    std::memcpy(static_cast<void*>(&job), bytes.data() + sizeof code, sizeof job);
    CTileQueue queue;
    CTileThreads local(job, threads, [&queue] { return queue.Pop(); });
    // The first message asks for two tiles per thread, so that each thread finds its next
    // tile here while its result travels; every result asks for one more.
    int asked = 2 * local.Count(), working = 0;
    peers.Send(0, kHello, std::to_string(asked) + " " + Arithmetic());
    while (asked > 0 || working > 0) {
        for (std::string& line : local.Take(kPoll)) {
            peers.Send(0, kResult, line);
            --working;
            ++asked;
        }
        if (local.Failed()) {
            Say("not enough memory for a tile's results");
            queue.Close();
            peers.Abort(1);
        }
        while (peers.Receive(from, tag, bytes))
            if (tag == kTile) {
                --asked;
                if (const int tile = std::atoi(bytes.c_str()); tile >= 0) {
                    queue.Push(tile);
                    ++working;
                }
            }
    }
    queue.Close();
    return 0;
}

} // namespace qel
