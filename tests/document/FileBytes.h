#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "document/KestrinDoc.h"
#include "platform/HeadlessUi.h"
#include "tests/support/TestSupport.h"

// Document file bytes built by hand, little-endian as the file holds them.

inline void PutInt(std::vector<std::uint8_t>& b, std::int32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<std::uint8_t>(static_cast<std::uint32_t>(v) >> (8 * i)));
}

inline void PutDouble(std::vector<std::uint8_t>& b, double v)
{
    const std::uint64_t bits = Bits(v);
    for (int i = 0; i < 8; ++i)
        b.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
}

// Saves doc to path and returns the file's bytes.
inline std::vector<std::uint8_t> SaveDocumentBytes(CKestrinDoc& doc, const std::string& path)
{
    EXPECT_TRUE(doc.OnSaveDocument(path));
    return ReadFileBytes(path);
}

// Writes bytes to path and opens them as a document file into doc, whose
// messages ui collects afresh.
inline bool OpenDocumentBytes(CKestrinDoc& doc, CHeadlessUi& ui, const std::string& path,
                              const std::vector<std::uint8_t>& bytes)
{
    WriteFile(path, std::string(bytes.begin(), bytes.end()));
    ui.messages.clear();
    return doc.OnOpenDocument(path);
}
