#pragma once

#include <string>
#include <vector>

#include "platform/db/Database.h"
#include "platform/db/MdbChild.h"

// How long a reader process may go without sending anything before it is
// taken to be caught in a damaged file's loop.
constexpr int kMdbStallSeconds = 20;

// The index of a name in a list as the Access engine looks names up: the
// exact name first, otherwise the one name that equals it ignoring the case
// of ASCII letters. -1 when there is none. A name that only begins another
// never matches.
int FindMdbName(const std::vector<std::string>& names, const std::string& name);

// Runs `read` on the reader's pipe and turns a reader that crashed, stopped
// or stalled into a CDatabaseError about `what` ("the table "T" of "f.mdb"").
template <typename Read>
void ReadReply(CMdbChild& child, const std::string& what, Read read)
{
    try {
        read(child.Reader());
    } catch (const CWireReader::CWireClosed&) {
        const std::string how = child.Finish();
        throw CDatabaseError("Unable to read " + what + ": the reader of the file stopped before it was done (" + how +
                             "); the file is damaged.");
    } catch (const CWireReader::CWireStalled&) {
        child.Finish();
        throw CDatabaseError("Unable to read " + what + ": the reader of the file sent nothing for " +
                             std::to_string(kMdbStallSeconds) + " seconds; the file is damaged.");
    }
}
