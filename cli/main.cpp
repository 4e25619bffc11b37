#include <string>
#include <vector>

#include "cli/Commands.h"
#include "platform/SafeFile.h"

int main(int argc, char** argv)
{
    IgnoreFileSizeLimitSignal();
    RemoveTemporaryFilesOnSignals();
    SetStandardOutputName(kStandardOutputName);
    const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return RunCli(args);
}
