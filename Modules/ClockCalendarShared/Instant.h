#pragma once

// An absolute point in time: seconds since 1970-01-01 00:00:00 UTC, the form in which instants are stored.
using Instant = double;

// The system clock now. Read only at the edges (views, tickers); the model takes "now" as a parameter.
Instant currentInstant();
