// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/Allowance.hpp"

#include <algorithm>
#include <limits>
#include <numeric>

namespace quorvel {

namespace {

std::uint64_t saturatedSum(std::uint64_t a, std::uint64_t b)
{
    return a > std::numeric_limits<std::uint64_t>::max() - b ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

// Takes up to `want` from `pool`, returning what was taken.
std::uint64_t take(std::uint64_t& pool, std::uint64_t want)
{
    const std::uint64_t got = std::min(pool, want);
    pool -= got;
    return got;
}

struct Spend {
    const Allowance::Input& in;
    std::vector<std::size_t> byExpiry;  // pack indices, the one that expires first first
    std::vector<std::uint64_t> packLeft;
    std::vector<std::uint64_t> packAtPeriodStart;
    std::uint64_t rolloverLeft;
    std::uint64_t planUsed = 0;
    std::uint64_t used = 0;

    explicit Spend(const Allowance::Input& input) : in(input), rolloverLeft(input.rollover)
    {
        byExpiry.resize(in.packs.size());
        std::iota(byExpiry.begin(), byExpiry.end(), 0);
        std::stable_sort(byExpiry.begin(), byExpiry.end(),
                         [&](std::size_t a, std::size_t b) { return in.packs[a].last() < in.packs[b].last(); });
        for (const AddonPack& p : in.packs) {
            packLeft.push_back(p.size());
        }
        packAtPeriodStart = packLeft;
    }

    void day(const Allowance::DayUse& u)
    {
        const bool inPeriod = in.period.contains(u.day);
        if (u.bytes < 0) {
            if (inPeriod) {
                giveBack(static_cast<std::uint64_t>(-(u.bytes + 1)) + 1);
            }
            return;
        }
        auto rest = static_cast<std::uint64_t>(u.bytes);
        if (inPeriod) {
            used = saturatedSum(used, rest);
        }
        for (std::size_t i : byExpiry) {
            if (in.packs[i].validOn(u.day)) {
                rest -= take(packLeft[i], rest);
            }
        }
        if (inPeriod) {
            rest -= take(rolloverLeft, rest);
            planUsed = saturatedSum(planUsed, rest);
        }
    }

    // A correction downwards frees what the plan, then the rollover, had spent.
    void giveBack(std::uint64_t bytes)
    {
        used -= std::min(used, bytes);
        const std::uint64_t fromPlan = std::min(planUsed, bytes);
        planUsed -= fromPlan;
        rolloverLeft = std::min(in.rollover, saturatedSum(rolloverLeft, bytes - fromPlan));
    }

    void periodBegins()
    {
        packAtPeriodStart = packLeft;
    }
};

}  // namespace

Allowance::Result Allowance::compute(const Input& in)
{
    Spend s(in);
    bool begun = false;
    for (const DayUse& u : in.use) {
        if (u.day > in.today) {
            break;
        }
        if (!begun && u.day >= in.period.first()) {
            s.periodBegins();
            begun = true;
        }
        s.day(u);
    }
    if (!begun) {
        s.periodBegins();
    }
    Result r;
    r.plan = in.plan;
    r.used = s.used;
    r.planUsed = s.planUsed;
    r.rolloverLeft = s.rolloverLeft;
    r.packLeft = s.packLeft;
    r.allowance = saturatedSum(in.plan, in.rollover);
    const bool ended = in.period.expired();
    r.left = ended ? 0 : saturatedSum(r.planLeft(), r.rolloverLeft);
    for (std::size_t i = 0; i < in.packs.size(); ++i) {
        const AddonPack& p = in.packs[i];
        if (p.last() < in.period.first() || p.first() > in.period.last()) {
            continue;  // not valid in this period
        }
        // A pack bought before the period brings what it still had when the period began.
        const std::uint64_t brought = p.first() >= in.period.first() ? p.size() : s.packAtPeriodStart[i];
        r.allowance = saturatedSum(r.allowance, brought);
        if (p.last() < in.today) {
            r.forfeited = saturatedSum(r.forfeited, s.packLeft[i]);
        } else if (p.first() <= in.today) {
            r.left = saturatedSum(r.left, s.packLeft[i]);
        }
    }
    if (ended) {
        r.left = 0;  // a prepaid plan past its last day has nothing left, packs included
    }
    return r;
}

}  // namespace quorvel
