#include "review/ReviewPeriod.h"

#include "app/DummyDlg.h"

namespace {

constexpr int kMaxSpanDays = 32;

} // namespace

bool PresetPeriod(int preset, int relative, const QDate& today, CReviewPeriod& period)
{
    if (preset < kPresetOneWeek || preset > kPresetThisWeek)
        return false;
    CReviewPeriod next;
    if (!CDummyDlg::CalcReviewPeriod(next.end, next.start, preset, today)) {
        QDate other;
        CDummyDlg::FormatReviewDate(today, other, preset, relative);
        // "1 week" counts from its end, the longer ones from their start.
        if (preset == kPresetOneWeek) {
            next.end = today;
            next.start = other;
        } else {
            next.start = today;
            next.end = other;
        }
        if (qAbs(next.start.daysTo(next.end)) >= kMaxSpanDays)
            return false;
        if (next.start >= next.end)
            std::swap(next.start, next.end);
    }
    period = next;
    return true;
}

CReviewPeriod StepPeriod(const CReviewPeriod& period, int preset, bool forward)
{
    const int sign = forward ? 1 : -1;
    if (preset == kPresetThisMonth) {
        const QDate month = QDate(period.start.year(), period.start.month(), 1).addMonths(sign);
        return {month, QDate(month.year(), month.month(), month.daysInMonth())};
    }
    const int days = preset == kPresetThisWeek ? 7 : period.Days();
    return {period.start.addDays(sign * days), period.end.addDays(sign * days)};
}
