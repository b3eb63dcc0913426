// Any bytes offered as a CSV file of weights: either the whole file is refused with a message, or
// every line is sorted into new, equal, differing or refused, and only sound weights are kept. The
// weight file the lines are compared with is the first half of the input read as a data file.
#include "store/kalimoerror.h"
#include "store/profiledocument.h"
#include "summary/journalcsv.h"
#include "summary/weighttrend.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

namespace {
void check(bool ok) {
    if (!ok)
        std::abort();
}

void checkDays(const std::vector<ImportedDay>& days) {
    for (const ImportedDay& d : days) {
        check(d.date.isValid() && d.date.year() >= 2002 && d.date.year() <= 2052);
        check(d.kg >= LowestWeight && d.kg <= HighestWeight && d.line >= 1);
        check(JournalWeight(d.text.toLatin1()) == d.kg); // stored as it will be read back
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const ProfileDocument weights = ProfileDocument::Parse(bytes.left(bytes.size() / 2));
    try {
        const WeightImport plan = PlanWeightImport(bytes, weights);
        checkDays(plan.fresh);
        checkDays(plan.equal);
        checkDays(plan.differing);
        for (const RefusedLine& r : plan.refused)
            check(r.line >= 1 && !r.reason.isEmpty());
        ImportSummary(plan);
    } catch (const KalimoError& e) {
        check(!e.message().isEmpty());
    }
    ReadWeightJournal(weights);
    return 0;
}
