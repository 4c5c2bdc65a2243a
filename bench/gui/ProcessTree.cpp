#include "ProcessTree.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace stellik::bench {

namespace {

// Parent of every process now running.
std::multimap<pid_t, pid_t> ChildrenByParent() {
    std::multimap<pid_t, pid_t> children;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::ifstream stat(entry.path() / "stat");
        std::string line;
        std::getline(stat, line);
        // pid (comm) state ppid ...: the name may hold spaces, so read after its ")".
        const size_t close = line.rfind(')');
        if (close == std::string::npos) {
            continue;
        }
        std::istringstream rest(line.substr(close + 2));
        char state = 0;
        pid_t parent = 0;
        rest >> state >> parent;
        children.emplace(parent, static_cast<pid_t>(std::stol(name)));
    }
    return children;
}

long long PeakKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:")) {
            return std::stoll(line.substr(6));
        }
    }
    return 0;
}

} // namespace

long long PeakMemoryKb(pid_t root) {
    const std::multimap<pid_t, pid_t> children = ChildrenByParent();
    long long total = 0;
    std::vector<pid_t> pending{root};
    std::set<pid_t> seen;
    while (!pending.empty()) {
        const pid_t pid = pending.back();
        pending.pop_back();
        if (!seen.insert(pid).second) {
            continue;
        }
        total += PeakKb(pid);
        const auto [first, last] = children.equal_range(pid);
        for (auto child = first; child != last; ++child) {
            pending.push_back(child->second);
        }
    }
    return total;
}

} // namespace stellik::bench
