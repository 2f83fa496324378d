#pragma once
// Documents for the tests: a failed creation fails the test.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>

#include "document/syn_doc.h"

namespace lyr::test {

// A fresh document without a waveform.
inline std::unique_ptr<document::CSYNDoc> makeDoc() {
    std::string message;
    auto doc = document::CSYNDoc::create(message);
    EXPECT_TRUE(doc) << message;
    return doc;
}

// A document with a new waveform of n samples, ts ns apart.
inline std::unique_ptr<document::CSYNDoc> newDoc(std::int64_t ts, std::int64_t n) {
    auto doc = makeDoc();
    EXPECT_TRUE(doc->newWaveform(ts, n));
    return doc;
}

}  // namespace lyr::test
