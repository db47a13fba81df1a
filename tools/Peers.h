#pragma once
#include <memory>
#include <string>

// The processes an MPI launcher (mpirun, srun) started together, as far as handing out a map's
// tiles needs them. This base is a process on its own; qel-render-mpi joins a real job
// (tools/MapMpi.cpp), qel-render never does (tools/MapLocal.cpp).
class CPeers {
public:
    virtual ~CPeers() = default;
    virtual int Rank() const { return 0; }
    virtual int Count() const { return 1; }
    // Process 0 sends bytes to all the others, which receive them here.
    virtual void Broadcast(std::string& /*bytes*/) {}
    virtual void Send(int /*to*/, int /*tag*/, const std::string& /*bytes*/) {}
    // A message that has arrived, without waiting for one: false when none has.
    virtual bool Receive(int& /*from*/, int& /*tag*/, std::string& /*bytes*/) { return false; }
    // Ends the whole job at once with this exit code, after an error that leaves no result.
    virtual void Abort(int code);
    // Leaves the job; nothing is sent or received after it. Again: nothing.
    virtual void Leave() {}

    bool m_bOrdered = false; // process 0 has told the others what to do
};

// How many processes a launcher says it started with this one (1 when none did), judged by the
// variables mpirun, srun and the PMI launchers set; *variable names the one that said so.
int LauncherProcesses(std::string* variable = nullptr);
// This process's rank as the launcher says it, 0 without one.
int LauncherRank();

// The job this process belongs to. split: the command is a map or diagram, which is shared out
// over the processes; anything else runs in one. Null, with the reason in why, when this process
// must not go on: a build without MPI started as one of several processes, each of which would
// compute the same thing and write the same files (why is empty on all but rank 0, so that
// the reason is said once).
std::unique_ptr<CPeers> JoinPeers(int& argc, char**& argv, bool split, std::string& why);
