#include "tools/Peers.h"

#include <cstdlib>

void CPeers::Abort(int code) {
    std::_Exit(code);
}

namespace {

long Variable(const char* name) {
    const char* text = std::getenv(name);
    if (!text || !*text)
        return -1;
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    return *end ? -1 : v;
}

} // namespace

int LauncherProcesses(std::string* variable) {
    // Sizes as Open MPI, the PMI launchers (MPICH's hydra, Intel MPI, srun --mpi=pmi2) and
    // MVAPICH set them; Slurm's own count only within a job step (srun): a batch script's
    // SLURM_NTASKS says what the job may start, not that this process is one of them. Then
    // ranks, for launchers that set no size (PMIx): a rank above 0 means several processes.
    const char* sizes[] = {"OMPI_COMM_WORLD_SIZE", "PMI_SIZE", "MV2_COMM_WORLD_SIZE",
                           "SLURM_STEP_NUM_TASKS"};
    const char* ranks[] = {"OMPI_COMM_WORLD_RANK", "PMI_RANK", "PMIX_RANK", "SLURM_PROCID"};
    for (const char* name : sizes)
        if (const long n = Variable(name); n > 1) {
            if (variable)
                *variable = std::string(name) + "=" + std::to_string(n);
            return static_cast<int>(n);
        }
    for (const char* name : ranks)
        if (const long r = Variable(name); r > 0) {
            if (variable)
                *variable = std::string(name) + "=" + std::to_string(r);
            return static_cast<int>(r) + 1;
        }
    return 1;
}

int LauncherRank() {
    for (const char* name : {"OMPI_COMM_WORLD_RANK", "PMI_RANK", "PMIX_RANK", "SLURM_PROCID"})
        if (const long r = Variable(name); r >= 0)
            return static_cast<int>(r);
    return 0;
}
