// qel-render-mpi: the processes of an MPI job (Open MPI under mpirun or srun).
#define OMPI_SKIP_MPICXX 1
#define MPICH_SKIP_MPICXX 1
#include "tools/Peers.h"

#include <mpi.h>

namespace {

// Only the main thread calls MPI (MPI_THREAD_FUNNELED); the threads compute cells. Nothing here
// blocks in MPI while a message is awaited, as Open MPI would spin there: Receive looks and
// returns, and the callers sleep between looks.
class CMpiPeers : public CPeers {
public:
    CMpiPeers() {
        MPI_Comm_rank(MPI_COMM_WORLD, &m_nRank);
        MPI_Comm_size(MPI_COMM_WORLD, &m_nCount);
    }
    ~CMpiPeers() override { Leave(); }
    int Rank() const override { return m_nRank; }
    int Count() const override { return m_nCount; }
    void Send(int to, int tag, const std::string& bytes) override {
        MPI_Send(bytes.data(), static_cast<int>(bytes.size()), MPI_BYTE, to, tag, MPI_COMM_WORLD);
    }
    bool Receive(int& from, int& tag, std::string& bytes) override {
        int arrived = 0, size = 0;
        MPI_Status status;
        MPI_Iprobe(MPI_ANY_SOURCE, MPI_ANY_TAG, MPI_COMM_WORLD, &arrived, &status);
        if (!arrived)
            return false;
        MPI_Get_count(&status, MPI_BYTE, &size);
        bytes.resize(static_cast<size_t>(size));
        from = status.MPI_SOURCE;
        tag = status.MPI_TAG;
        MPI_Recv(bytes.data(), size, MPI_BYTE, from, tag, MPI_COMM_WORLD, MPI_STATUS_IGNORE);
        return true;
    }
    void Abort(int code) override { MPI_Abort(MPI_COMM_WORLD, code); }
    void Leave() override {
        if (!m_bLeft)
            MPI_Finalize();
        m_bLeft = true;
    }

private:
    int m_nRank = 0, m_nCount = 1;
    bool m_bLeft = false;
};

} // namespace

std::unique_ptr<CPeers> JoinPeers(int& argc, char**& argv, bool split, std::string& why) {
    if (!split) {
        std::string variable;
        const int n = LauncherProcesses(&variable);
        if (n <= 1)
            return std::make_unique<CPeers>();
        if (LauncherRank() == 0)
            why = "started as one of " + std::to_string(n) + " processes (" + variable +
                  "): only --map and --bifurcation are shared out over processes; start this "
                  "as one process";
        return nullptr;
    }
    // Started without a launcher, MPI makes a job of this one process.
    int provided = MPI_THREAD_SINGLE;
    if (MPI_Init_thread(&argc, &argv, MPI_THREAD_FUNNELED, &provided) != MPI_SUCCESS) {
        why = "MPI could not start";
        return nullptr;
    }
    if (provided < MPI_THREAD_FUNNELED) {
        MPI_Finalize();
        why = "this MPI library does not allow threads beside MPI (MPI_THREAD_FUNNELED)";
        return nullptr;
    }
    return std::make_unique<CMpiPeers>();
}
