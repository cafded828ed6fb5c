#include "app/HandOver.h"
#include "app/Program.h"

int main(int argc, char** argv) {
    // Before any GUI: a second start only hands over to the running copy.
    nagitori::InstanceClaim claim = nagitori::ClaimRunningCopy();
    if (claim.HandedOver()) {
        return 0;
    }
    return nagitori::RunProgram(argc, argv, claim);
}
