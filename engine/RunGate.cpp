#include "engine/RunGate.h"

CRunGate& RunGate() {
    static CRunGate gate(true);
    return gate;
}
