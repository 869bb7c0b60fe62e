// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/CTraffics.hpp"
#include "engine/TrafficRoute.hpp"
#include "model/SimRecord.hpp"
#include "platform/Date.hpp"
#include "platform/SimCards.hpp"

namespace quorvel {

struct Env;
class ArchiveEncoder;
class ArchiveDecoder;
class CTrafficManager;

// The SIMs this device has seen, in the order first seen, each with its own history, as the state
// file keeps them. Traffic on a link no known SIM carries belongs to "This device", which is not
// among them. As the samples' route it books each SIM's links to that SIM.
class KnownSims final : public TrafficRoute {
public:
    static constexpr std::size_t kMaxSims = 32;
    static constexpr std::size_t kMaxRouteLinks = 64;
    static constexpr std::string_view kClassName = "SimBook";

    struct Entry {
        SimRecord record;
        std::unique_ptr<CTrafficManager> plan;  // never null; its history is the SIM's
        CTraffics& history() const;
    };

    explicit KnownSims(const Env& env);
    ~KnownSims() override;

    const std::vector<Entry>& entries() const { return entries_; }
    std::vector<SimRecord> records() const;
    // The SIM stored under `key` (its ICCID, else its IMSI); null when none is.
    const Entry* find(const std::string& key) const;
    Entry* find(const std::string& key);
    // Where the SIM stored under `key` stands, for the changes that take an index.
    std::optional<std::size_t> indexOf(const std::string& key) const;
    // The SIM whose plan that is; null for the device's.
    const Entry* entryOf(const CTrafficManager& plan) const;
    // The links the route gives to that plan's SIM.
    std::vector<std::string> linksOf(const CTrafficManager& plan) const;
    // The SIM the route gives the counted links to, the first of them when modems carry several;
    // none when no link is a SIM's.
    std::optional<std::string> activeKey() const;
    // The SIM's plan is set up from now on.
    void markSetUp(std::size_t index);
    // Notes every SIM a modem reports now (a new one is added, not set up); whether anything
    // changed. SIMs with no usable identifier are passed over.
    bool see(const SimCardList& cards, Date when);
    // The records with the SIMs a modem reports now that are not stored yet, changing nothing.
    std::vector<SimRecord> withSeen(const SimCardList& cards, Date when) const;
    void rename(std::size_t index, std::string name);
    // The SIM goes, and its history with it.
    void forget(std::size_t index);

    // The device's manager: the place it was last seen goes with each SIM's share, and new SIMs'
    // plans belong to it.
    void setOwner(CTrafficManager* owner);
    // Which SIM carries which link, asked of the modem manager now and kept in the state: later
    // samples ask again only for a link it was not asked about. A resident sampler renews it at
    // each change the modem manager reports, after the sample that closes the interval, so that
    // what was counted up to a change goes to the SIM that carried it.
    void renewRoute();
    // For a sampler that hears none of the modem manager's signals (a one-shot command, the
    // window): once a SIM was seen, each sample asks anew which SIM carries the links, unless
    // the route was just renewed.
    void askEachSample(bool on) { askEachSample_ = on; }
    void linksChanged(const std::vector<std::string>& counted) override { ask(counted); }
    Share take(const TrafficIncrement& increment) override;

    // Takes over the SIMs and the route another process saved.
    void adopt(KnownSims&& other);

    void encodeWithCoder(ArchiveEncoder& coder) const;
    // Reads the list stored under "pSims"; absent in older files: none.
    void decode(ArchiveDecoder& coder);

private:
    // Each link asked about, with the key of the SIM that carries it ("" for none).
    struct RouteEntry {
        static constexpr std::string_view kClassName = "SimRoute";
        std::string link;
        std::string sim;
        std::string_view className() const { return kClassName; }
        void encodeWithCoder(ArchiveEncoder& coder) const;
    };
    using Route = std::vector<RouteEntry>;
    // The SIM of every data interface of an active SIM, and none for the other `asked` links.
    static Route routeOf(const SimCardList& cards, const std::vector<std::string>& asked);
    // Asks the modem manager; false when none answered (the route is then empty).
    bool ask(const std::vector<std::string>& links);
    Entry* findCard(const SimCard& card);
    static bool sameSim(const SimRecord& record, const SimCard& card);
    std::optional<Route> route_;
    bool askEachSample_ = false;
    bool justRenewed_ = false;
    bool saidNoAnswer_ = false;  // that no SIM can be told while the modem manager is silent
    std::vector<Entry> entries_;
    CTrafficManager* owner_ = nullptr;
    const Env* env_;
};

}  // namespace quorvel
