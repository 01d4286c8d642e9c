#pragma once

#include <TovikKit/TovikLayoutView.h>

// The calendar page's surface, which takes the keyboard focus for both months. A screen reader is shown
// the focus on the month that holds the focus day instead (see ClockCalendarAccessibility).
class CalendarPageView final : public TovikLayoutView {
    Q_OBJECT
public:
    using TovikLayoutView::TovikLayoutView;
};
