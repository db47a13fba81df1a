// qel-render without MPI: one process, which refuses to be one of several.
#include "tools/Peers.h"

std::unique_ptr<CPeers> JoinPeers(int&, char**&, bool, std::string& why) {
    std::string variable;
    const int n = LauncherProcesses(&variable);
    if (n <= 1)
        return std::make_unique<CPeers>();
    // Every process says so: the launcher may end the others before rank 0's words get out.
    why = "started as one of " + std::to_string(n) + " processes by an MPI launcher (" + variable +
          "), but this qel-render is built without MPI: each would compute the "
          "whole task and write the same files. Start qel-render-mpi under the "
          "launcher, or qel-render as one process";
    return nullptr;
}
