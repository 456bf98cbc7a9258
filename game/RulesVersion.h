#pragma once
// The version of the rules: what a tick makes of a state and its commands.
// A record replays, and two machines play together, only under the same rules,
// so a change that can make any tick come out otherwise raises it by one. A
// record's header and a network Hello carry it; other rules are refused in
// words, never taken for a corrupted record or a desync.
constexpr int kRulesVersion = 1;
