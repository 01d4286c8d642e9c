#pragma once

#include <QObject>

#include <functional>

// The one source of "now" for views: the system clock, unless a test has put its own time source in. A jump
// of the time or of the zone is announced with `adjusted`, so that tickers tick at once and re-arm: the
// wall clock set or the machine resumed (a timer waiting for midnight would otherwise wait on), the host
// zone changed (/etc/localtime relinked or rewritten), or a test setting its time.
class TovikClock final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TovikClock)
public:
    // Seconds since 1970-01-01 00:00:00 UTC (an Instant).
    using Source = std::function<double()>;

    static TovikClock &shared();

    double now() const;
    // Replaces where the time comes from; an empty source is the system clock again. Announces the jump.
    void setSource(Source source);
    void announceAdjustment();

signals:
    void adjusted();

private:
    TovikClock();

    Source m_source;
};
