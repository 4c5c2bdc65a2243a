// tests/documents/profiles/ProfileTestSupport.h -- shared helpers of the settings tests
#pragma once

#include "tests/support/MessageOf.h"
#include "xml/XpObjModel.h"

#include <gtest/gtest.h>

#include <string_view>

namespace stellik::testing {

// A document object with its default settings (text normalised), loaded from UTF-8 text.
class TParsedXml {
public:
    explicit TParsedXml(std::string_view xml) {
        Model.LoadBytes(xml);
        EXPECT_FALSE(Model.DocumentElement().IsNull()) << xml;
    }
    TXpNode Root() const { return Model.DocumentElement(); }

private:
    TXpObjModel Model;
};

} // namespace stellik::testing
