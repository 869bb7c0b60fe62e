// SPDX-License-Identifier: GPL-3.0-or-later
// Which SIM a user's word names, and what a SIM record accepts as stored.
#include <gtest/gtest.h>

#include <variant>

#include "model/SimQuery.hpp"
#include "model/SimRecord.hpp"
#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {
namespace {

std::vector<SimRecord> threeSims()
{
    std::vector<SimRecord> sims;
    sims.emplace_back("8949020000001234567", "262011234567890", "Tele Nord");
    sims.emplace_back("8944110000009874567", "234159876543210", "Travel Mobile");  // ends in 4567 too
    sims.emplace_back("", "310260000000001", "Tele Nord");                          // known by its IMSI
    sims[1].rename("Abroad");
    return sims;
}

TEST(SimQuery, ResolvesIdentifiersDigitsAndNames)
{
    struct Case {
        const char* word;
        int index;  // -1 unknown, -2 ambiguous
    };
    const Case cases[] = {
        {"8949020000001234567", 0},
        {"8944110000009874567", 1},
        {"234159876543210", 1},      // an IMSI names its SIM too
        {"310260000000001", 2},
        {"4567", -2},                // two SIMs end so
        {"0001", 2},
        {"abroad", 1},               // names in any case
        {"Travel Mobile", -1},       // a renamed SIM goes by its new name
        {"Tele Nord", -2},           // two SIMs of one operator
        {"", -1},
        {"123", -1},
        {"89490200000012345678", -1},  // a longer identifier is another SIM
    };
    const std::vector<SimRecord> sims = threeSims();
    for (const Case& c : cases) {
        const auto r = SimQuery::resolve(c.word, sims);
        if (c.index >= 0) {
            ASSERT_TRUE(std::holds_alternative<SimQuery::Found>(r)) << c.word;
            EXPECT_EQ(std::get<SimQuery::Found>(r).index, static_cast<std::size_t>(c.index)) << c.word;
        } else {
            ASSERT_TRUE(std::holds_alternative<SimQuery::Failure>(r)) << c.word;
            EXPECT_EQ(std::get<SimQuery::Failure>(r) == SimQuery::Failure::Ambiguous, c.index == -2) << c.word;
        }
    }
    // A refusal lists the SIMs by name and short key, never a whole identifier.
    const std::string known = SimQuery::knownList(sims);
    EXPECT_EQ(known, "known SIMs: \"Tele Nord\" (…4567), \"Abroad\" (…4567), \"Tele Nord\" (…0001)");
    EXPECT_EQ(SimQuery::knownList({}), "no SIM is known");
}

TEST(SimRecord, StoredRecordsAreCheckedOnLoad)
{
    SimRecord sim("8949020000001234567", "", "Tele Nord");
    sim.rename("Work");
    sim.markSetUp();
    const std::string stored = ArchiveEncoder::archivedDataWithRootObject(sim);
    const SimRecord back = *ArchiveDecoder::unarchiveRootObject<SimRecord>(stored, nullptr);
    EXPECT_EQ(back.key(), "8949020000001234567");
    EXPECT_EQ(back.displayName(), "Work");
    EXPECT_TRUE(back.setUp());

    // Hand-edited identifiers and names are refused, not carried into logs or lists.
    const std::pair<std::string, std::string> edits[] = {
        {"\"8949020000001234567\"", "\"89490200000012345;rm\""},
        {"\"8949020000001234567\"", "\"\""},  // neither ICCID nor IMSI left
        {"\"8949020000001234567\"", "\"8949020000001234567890123\""},
        {"\"Work\"", "\"a\\nb\""},
        {"\"Work\"", "\"" + std::string(65, 'x') + "\""},
    };
    for (const auto& [from, to] : edits) {
        std::string edited = stored;
        edited.replace(edited.find(from), from.size(), to);
        EXPECT_THROW(ArchiveDecoder::unarchiveRootObject<SimRecord>(edited, nullptr), ArchiveError) << edited;
    }
    EXPECT_EQ(SimRecord("", "310260000000001", "").displayName(), "SIM 0001");
    EXPECT_FALSE(SimRecord::validName(std::string(65, 'x')));
    EXPECT_TRUE(SimRecord::validName("Reise-SIM · Ü"));
}

}  // namespace
}  // namespace quorvel
