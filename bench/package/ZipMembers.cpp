#include "ZipMembers.h"

#include <cstdint>
#include <cstdio>
#include <random>

namespace stellik::bench {

std::string MakeZipMember(size_t index, size_t size) {
    std::mt19937_64 random(index * 7919 + 1);
    std::string bytes;
    bytes.reserve(size + 64);
    if (index % 2 == 1) {
        while (bytes.size() < size) {
            const uint64_t word = random();
            bytes.append(reinterpret_cast<const char*>(&word), sizeof word);
        }
    } else {
        static constexpr const char* Words[] = {"ответ",  "вопрос",  "балл", "answer", "right",
                                                "rating", "section", "time", "mark",   "текст"};
        for (size_t n = 0; bytes.size() < size; ++n) {
            bytes += "<answer id=\"" + std::to_string(random() % 100000) + "\">";
            for (int w = 0; w < 6; ++w) {
                bytes += Words[random() % 10];
                bytes += ' ';
            }
            bytes += "</answer>\r\n";
        }
    }
    bytes.resize(size);
    return bytes;
}

std::string ZipMemberName(size_t index) {
    char name[32];
    std::snprintf(name, sizeof name, "member%04zu.%s", index, index % 2 == 0 ? "xml" : "gif");
    return name;
}

} // namespace stellik::bench
