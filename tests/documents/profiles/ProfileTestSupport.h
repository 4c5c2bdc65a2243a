// tests/documents/profiles/ProfileTestSupport.h -- shared helpers of the settings tests
#pragma once

#include "xml/XpObjModel.h"

#include <gtest/gtest.h>

#include <string_view>

namespace stellik::tests {

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

// Runs action and expects an exception of type E with exactly this message.
template <class E, class F> void ExpectRaises(F&& action, std::string_view message) {
    try {
        action();
        ADD_FAILURE() << "no exception, expected: " << message;
    } catch (const E& e) {
        EXPECT_EQ(std::string_view(e.what()), message);
    }
}

} // namespace stellik::tests
