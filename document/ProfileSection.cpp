// The profile record.
//
// A document that Profile made carries one more section after the base
// layout and after the saved tabs, if any (framed as DocumentSections.h
// describes). All numbers are little-endian.
//
//   tag       4 bytes   "KPRF"
//   version   int32     1
//   length    int32     bytes of the body that follows: 4 + L + 8
//   body:
//     L       int32     bytes of the source's title
//     source  L bytes   the title of the document whose series was profiled
//     mean    double    the mean removed from that series' Y values
//
// On reading, L is checked against the body's length before anything is
// allocated.
#include "document/ProfileSection.h"

#include "document/DocumentSections.h"

void StoreProfileSection(CArchive& ar, const CProfileRecord& record)
{
    const std::uint64_t length = 4 + static_cast<std::uint64_t>(record.source.size()) + 8;
    WriteSectionHeader(ar, kProfileSectionTag, kProfileSectionVersion, length,
                       "the title of the profiled document is too long to save");
    ar << static_cast<std::int32_t>(record.source.size());
    ar.WriteBytes(record.source.data(), record.source.size());
    ar << record.mean;
}

CProfileRecord ReadProfileSectionBody(CArchive& ar)
{
    std::int32_t count = 0;
    ar >> count;
    ar.CheckCount(count, 1, "title of the profiled document");
    CProfileRecord record;
    record.source.resize(static_cast<std::size_t>(count));
    ar.ReadBytes(record.source.data(), record.source.size());
    ar >> record.mean;
    return record;
}
