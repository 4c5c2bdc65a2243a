#include "model/MoveShuffle.h"

#include "platform/Random.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace stellik {

namespace {

// A sequence kept as a list of short blocks, so that taking an item out at a position and
// putting one in elsewhere shifts one block instead of the whole sequence.
class TBlockSequence {
public:
    TBlockSequence(int n, int blockSize) : BlockSize(blockSize) {
        for (int first = 0; first < n; first += BlockSize) {
            auto& block = Blocks.emplace_back();
            for (int v = first; v < std::min(n, first + BlockSize); ++v) {
                block.push_back(v);
            }
        }
    }

    // Removes and returns the item at pos (0 <= pos < size).
    int Take(int pos) {
        for (auto& block : Blocks) {
            const int size = static_cast<int>(block.size());
            if (pos < size) {
                const int value = block[static_cast<std::size_t>(pos)];
                block.erase(block.begin() + pos);
                return value;
            }
            pos -= size;
        }
        return -1; // not reached: callers pass a position inside the sequence
    }

    // Inserts value so that it ends up at pos (0 <= pos <= size). Blocks emptied by Take stay
    // in place; a block that grows to twice the block size is split in two.
    void Put(int pos, int value) {
        for (auto it = Blocks.begin(); it != Blocks.end(); ++it) {
            const int size = static_cast<int>(it->size());
            if (pos <= size) {
                it->insert(it->begin() + pos, value);
                if (static_cast<int>(it->size()) >= 2 * BlockSize) {
                    std::vector<int> tail(it->begin() + BlockSize, it->end());
                    it->resize(static_cast<std::size_t>(BlockSize));
                    Blocks.insert(it + 1, std::move(tail));
                }
                return;
            }
            pos -= size;
        }
    }

    std::vector<int> Flatten() const {
        std::vector<int> result;
        for (const auto& block : Blocks) {
            result.insert(result.end(), block.begin(), block.end());
        }
        return result;
    }

private:
    int BlockSize;
    std::vector<std::vector<int>> Blocks;
};

} // namespace

std::vector<int> MoveShuffleOrder(int n, int blockSize) {
    if (n <= 0) {
        return {};
    }
    if (blockSize <= 0) {
        blockSize = std::max(32, static_cast<int>(std::sqrt(static_cast<double>(n))));
    }
    TBlockSequence sequence(n, blockSize);
    for (int i = 0; i < n; ++i) {
        const int a = TRandom::Random(n);
        const int b = TRandom::Random(n);
        if (a != b) {
            sequence.Put(a, sequence.Take(b));
        }
    }
    return sequence.Flatten();
}

} // namespace stellik
