#pragma once

#include <functional>
#include <string>

#include <sys/types.h>

#include "platform/db/MdbWire.h"

// A reader process: `work` runs in a copy of this process made with fork(),
// writes its answer into a pipe and ends. mdbtools trusts the files it reads,
// and a damaged file can make it read through a null pointer or loop for
// ever; in a process of its own that costs only the answer. The reader's
// standard error is silenced (mdbtools complains there about every page it
// cannot read). Destroying the object ends the reader if it still runs.
class CMdbChild
{
public:
    // Throws CDatabaseError when no process can be started.
    CMdbChild(const std::function<void(CWireWriter&)>& work, int stallSeconds);
    ~CMdbChild();
    CMdbChild(const CMdbChild&) = delete;
    CMdbChild& operator=(const CMdbChild&) = delete;

    CWireReader& Reader() { return m_reader; }

    // Ends the reader and says how it had ended, for a message: "it crashed
    // (signal 11)", "it stopped with status 1", ...
    std::string Finish();

private:
    pid_t m_pid = -1;
    int m_fd = -1;
    CWireReader m_reader;
};
