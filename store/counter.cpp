#include "counter.h"

#include "core/textutil.h"
#include "store/table.h"

#include <cmath>

namespace {

// Runs `change` on the counter record in editing. An edit begun here is cancelled when
// `change` fails, so that a failed take neither changes the counter nor holds it.
template <typename Change>
auto changeCounter(store::Table &counters, Change change)
{
    const bool startedEdit = counters.State() == store::DataSetState::Browse;
    if (startedEdit)
        counters.Edit();
    try {
        return change();
    } catch (...) {
        if (startedEdit)
            counters.Cancel();
        throw;
    }
}

} // namespace

QString TakeTextCounter(store::Table &counters, const store::FieldKey &field)
{
    return changeCounter(counters, [&] {
        store::Field &counter = counters.FieldByName(field);
        const QString next = FloatToStr(StrToFloat(counter.AsString()) + 1);
        counter.SetAsString(next);
        return ZeroPad(next, 10);
    });
}

qint64 TakeFloatCounter(store::Table &counters, const store::FieldKey &field)
{
    return changeCounter(counters, [&] {
        store::Field &counter = counters.FieldByName(field);
        const qint64 next = std::llround(counter.AsFloat()) + 1;
        counter.SetAsFloat(double(next));
        return next;
    });
}
