// A command-line reader of test documents, for timing it beside other programs on the same
// files:
//   stellik_read_test_document FILE       reads FILE as the player does (DTD from the folder
//                                         beside it) and prints its question count
//   stellik_read_test_document --make N FILE   writes a generated test of N questions
//   stellik_read_test_document --make-demo-shaped N FILE   the same, shaped like the demo test
#include "TestDocumentMaker.h"

#include "documents/TestParser.h"
#include "model/TestDoc.h"
#include "platform/Exception.h"
#include "platform/MemoryStream.h"
#include "platform/Unicode.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

int main(int argc, char** argv) {
    using namespace stellik;
    try {
        if (argc == 4 && std::string(argv[1]) == "--make") {
            TMemoryStream(bench::MakeTestDocument(std::atoi(argv[2]))).SaveToFile(argv[3]);
            return 0;
        }
        if (argc == 4 && std::string(argv[1]) == "--make-demo-shaped") {
            TMemoryStream(bench::MakeDemoShapedDocument(std::atoi(argv[2]))).SaveToFile(argv[3]);
            return 0;
        }
        if (argc != 2) {
            std::fprintf(stderr, "usage: %s FILE | --make[-demo-shaped] COUNT FILE\n", argv[0]);
            return 2;
        }
        const std::filesystem::path file = std::filesystem::absolute(argv[1]);
        // Read in one piece: the reading of the document is what is timed.
        TMemoryStream stream;
        stream.SetSize(static_cast<size_t>(std::filesystem::file_size(file)));
        std::ifstream in(file, std::ios::binary);
        if (!in.read(reinterpret_cast<char*>(stream.GetMemory()),
                     static_cast<std::streamsize>(stream.GetSize()))) {
            throw Exception("Cannot read file \"" + file.string() + "\"");
        }
        TTestParserObj parser;
        parser.OnDTDRequest = [&file](TTestParserObj&, std::u16string& name) {
            name = Utf8ToUtf16((file.parent_path() / Utf16ToUtf8(name)).string());
        };
        TTestDoc doc;
        std::string encoding;
        parser.ParseTest(std::move(stream), doc, encoding); // as the player hands it over
        std::printf("%d questions, %s\n", doc.Questions.GetCount(), encoding.c_str());
        return 0;
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
