// libFuzzer target: every input is read as a history file. Reading either
// throws one of the reader's exceptions (the instance then resets its history)
// or gives a history with at least one snapshot and marker slots inside the
// table, which must be written and read back unchanged. Built with clang by
// tests/core/tests.cmake; the seed corpus is tests/core/corpus/history.
#include "core/HistoryFile.h"
#include "io/ByteStream.h"
#include "util/ExceptionBase.h"

#include <cstdint>
#include <cstdlib>

namespace {

// The identity word of the seed files.
constexpr uint32_t Word = 6100;

struct Owner final : Util::HistoryDelegate {
    uint32_t historyWord() const override { return Word; }
    std::vector<uint8_t> historyState() override { return {1, 2, 3}; }
};

bool sameHistory(const Util::History& a, const Util::History& b)
{
    if (a.snapshots() != b.snapshots() || a.markerSlotCount() != b.markerSlotCount())
        return false;
    for (uint32_t slot = 0; slot < a.markerSlotCount(); ++slot)
        if (a.marker(slot) != b.marker(slot))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Owner owner;
    Util::History history;
    try {
        Util::ByteStream in(size, data);
        Util::HistoryFile::read(history, owner, in);
    } catch (const Exception::Base&) {
        return 0;
    }
    if (history.snapshots().empty())
        std::abort();
    Util::ByteStream out;
    Util::HistoryFile::write(history, Word, out);
    Util::History again;
    Util::ByteStream back(out.GetBuffer().size(), out.GetBuffer().data());
    Util::HistoryFile::read(again, owner, back);
    if (!sameHistory(history, again))
        std::abort();
    return 0;
}
