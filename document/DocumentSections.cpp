#include "document/DocumentSections.h"

#include <algorithm>
#include <cstring>

#include "document/FirstLagSection.h"
#include "document/BandSection.h"
#include "document/ProfileSection.h"
#include "document/TabSection.h"

namespace {

constexpr std::size_t kTagBytes = 4;
constexpr std::size_t kHeaderBytes = 12; // tag, version, length

// A section's contents, read from its whole body and no less.
template <class T>
T Whole(const CArchive& body, T contents)
{
    if (body.BytesLeft() != 0)
        throw CArchiveException(CArchiveException::badCount, "its length does not match its contents");
    return contents;
}

// One kind of section, in the order a document writes them, with the words
// its messages use.
struct SectionKind
{
    const char* tag;
    std::int32_t version;
    const char* subject; // "the saved tabs"
    const char* is;      // "are"
    const char* its;     // "their"
    const char* without; // "; the document opens without them."
    // Reads the body into its member of the sections; throws when damaged.
    void (*read)(CArchive& body, CDocumentSections& sections);
};

const SectionKind kKinds[] = {
    {kTabSectionTag, kTabSectionVersion, "the saved tabs", "are", "their", "; the document opens without them.",
     [](CArchive& body, CDocumentSections& s) { s.tabs = Whole(body, ReadTabSectionBody(body)); }},
    {kProfileSectionTag, kProfileSectionVersion, "the record that the series is a profile", "is", "its",
     "; the document opens without it.",
     [](CArchive& body, CDocumentSections& s) { s.profile = Whole(body, ReadProfileSectionBody(body)); }},
    {kFirstLagSectionTag, kFirstLagSectionVersion, "the first lags of the fits", "are", "their",
     "; the fits start at lag 1.",
     [](CArchive& body, CDocumentSections& s) { s.firstLags = Whole(body, ReadFirstLagSectionBody(body)); }},
    {kBandSectionTag, kBandSectionVersion, "the interval band", "is", "its", "; the document opens without it.",
     [](CArchive& body, CDocumentSections& s) { s.band = Whole(body, ReadBandSectionBody(body)); }},
};

std::string Bytes(std::uint64_t n)
{
    return std::to_string(n) + (n == 1 ? " byte" : " bytes");
}

// How reading goes on after a section.
enum class After
{
    next,          // the section was whole: what follows is read
    nextIfSection, // it was passed over: what follows is read when it is a section
    stop,          // its end is unknown: nothing more is read
};

void Skip(CArchive& ar, std::uint64_t bytes)
{
    std::uint8_t block[4096];
    while (bytes > 0) {
        const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(bytes, sizeof block));
        ar.ReadBytes(block, n);
        bytes -= n;
    }
}

// Reads one section whose tag (or the part of it before the file ends) has
// been read; left counts the bytes from the tag on.
After ReadSection(CArchive& ar, const SectionKind& kind, std::uint64_t left, CDocumentSections& sections,
                  std::vector<std::string>& notes)
{
    const std::string subject = kind.subject;
    const auto note = [&](const std::string& what) { notes.push_back(subject + " " + what + kind.without); };
    try {
        if (left < kHeaderBytes) {
            note(std::string(kind.is) + " cut off");
            return After::stop;
        }
        std::int32_t version = 0;
        std::int32_t length = 0;
        ar >> version >> length;
        const bool lengthFits = length >= 0 && static_cast<std::uint64_t>(length) <= ar.BytesLeft();
        if (version != kind.version) {
            note(std::string(kind.is) + " of version " + std::to_string(version) +
                 ", which this version of Kestrin cannot read");
            if (!lengthFits)
                return After::stop;
            Skip(ar, static_cast<std::uint64_t>(length));
            return After::nextIfSection;
        }
        if (length < 0) {
            note(std::string(kind.is) + " damaged (" + kind.its + " length is negative)");
            return After::stop;
        }
        if (!lengthFits) {
            note(std::string(kind.is) + " cut off");
            return After::stop;
        }
        // No larger than what is left of the file.
        std::vector<std::uint8_t> body(static_cast<std::size_t>(length));
        ar.ReadBytes(body.data(), body.size());
        try {
            CMemorySource source(body);
            CArchive bodyArchive(source);
            kind.read(bodyArchive, sections);
        } catch (const CArchiveException& e) {
            note(std::string(kind.is) + " damaged (" + e.what() + ")");
            return After::nextIfSection;
        }
        return After::next;
    } catch (const CArchiveException& e) {
        note(std::string("could not be read (") + e.what() + ")");
        return After::stop;
    }
}

} // namespace

void WriteSectionHeader(CArchive& ar, const char (&tag)[5], std::int32_t version, std::uint64_t length,
                        const char* tooLarge)
{
    if (length > 0x7FFFFFFF)
        throw CArchiveException(CArchiveException::writeFault, tooLarge);
    ar.WriteBytes(tag, kTagBytes);
    ar << version << static_cast<std::int32_t>(length);
}

CDocumentSections LoadDocumentSections(CArchive& ar, std::vector<std::string>& notes)
{
    CDocumentSections sections;
    const SectionKind* last = nullptr;
    After after = After::next;
    for (std::size_t first = 0; after != After::stop;) {
        const std::uint64_t left = ar.BytesLeft();
        if (left == 0)
            break;
        // A section is known by its tag (a cut within the tag still reads as
        // a cut-off section); each kind comes at most once, in its order.
        std::uint8_t tag[kTagBytes] = {};
        const std::size_t tagBytes = static_cast<std::size_t>(std::min<std::uint64_t>(left, kTagBytes));
        try {
            ar.ReadBytes(tag, tagBytes);
        } catch (const CArchiveException&) {
            break; // fewer bytes than the source promised: nothing more to read
        }
        std::size_t k = first;
        while (k < std::size(kKinds) && std::memcmp(tag, kKinds[k].tag, tagBytes) != 0)
            ++k;
        if (k == std::size(kKinds)) {
            // What follows a section that was passed over is part of its damage.
            if (after == After::next)
                notes.push_back(last ? "the " + Bytes(left) + " after " + last->subject +
                                           " belong to no part of the document and were ignored."
                                     : "the " + Bytes(left) + " after the document's data belong to no part of "
                                                              "it and were ignored.");
            break;
        }
        last = &kKinds[k];
        first = k + 1;
        after = ReadSection(ar, *last, left, sections, notes);
        if (after != After::next && std::memcmp(last->tag, kFirstLagSectionTag, kTagBytes) == 0)
            sections.firstLagsUnread = true;
    }
    return sections;
}
