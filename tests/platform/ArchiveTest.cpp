// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON archive: every value kind round-trips keyed and in sequence, and a damaged archive is
// rejected as a whole with a reason.
#include <gtest/gtest.h>

#include "platform/ArchiveDecoder.hpp"
#include "platform/ArchiveEncoder.hpp"

namespace quorvel {
namespace {

struct Leaf {
    static constexpr std::string_view kClassName = "Leaf";
    std::optional<std::int64_t> n;
    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& c) const { c.encodeInt64("n", n); }
    static std::unique_ptr<Leaf> initWithCoder(ArchiveDecoder& c)
    {
        auto l = std::make_unique<Leaf>();
        l->n = c.decodeInt64("n");
        return l;
    }
};

struct Root {
    static constexpr std::string_view kClassName = "Root";
    std::optional<std::int64_t> i;
    std::optional<std::uint64_t> u;
    std::optional<double> d;
    std::optional<Date> date;
    std::optional<Location> where;
    std::optional<DateComponents> hour;
    std::unique_ptr<Leaf> leaf;
    std::vector<Leaf> leaves;

    std::string_view className() const { return kClassName; }
    void encodeWithCoder(ArchiveEncoder& c) const
    {
        c.encodeInt64("i", i);
        c.encodeUInt64("u", u);
        c.encodeDouble("d", d);
        c.encodeDate("date", date);
        c.encodeLocation("where", where);
        c.encodeHourComponents("hour", hour);
        c.encodeObject("leaf", leaf.get());
        c.encodeObjects("leaves", leaves);
    }
    static std::unique_ptr<Root> initWithCoder(ArchiveDecoder& c)
    {
        auto r = std::make_unique<Root>();
        r->i = c.decodeInt64("i");
        r->u = c.decodeUInt64("u");
        r->d = c.decodeDouble("d");
        r->date = c.decodeDate("date");
        r->where = c.decodeLocation("where");
        r->hour = c.decodeHourComponents("hour");
        r->leaf = c.decodeObject<Leaf>("leaf");
        c.decodeObjects("leaves", [&](ArchiveDecoder& e) { r->leaves.push_back(*Leaf::initWithCoder(e)); });
        return r;
    }
};

Root sample()
{
    Root r;
    r.i = -9'223'372'036'854'775'807LL - 1;
    r.u = 18'446'744'073'709'551'615ULL;
    r.d = 0.1 + 0.2;
    r.date = Date{1'796'000'000};
    r.where = Location{-33.8688, 151.2093, 12.5, Date{1'700'000'000}};
    r.hour = DateComponents{2026, 12, 8, 23, 0, 0};
    r.leaf = std::make_unique<Leaf>();
    r.leaf->n = 7;
    r.leaves = {Leaf{1}, Leaf{std::nullopt}, Leaf{3}};
    return r;
}

class ArchiveRoundTrip : public ::testing::TestWithParam<bool> {};

TEST_P(ArchiveRoundTrip, EveryValueComesBackExactly)
{
    const Root r = sample();
    const std::string bytes = ArchiveEncoder::archivedDataWithRootObject(r, GetParam());
    const auto back = ArchiveDecoder::unarchiveRootObject<Root>(bytes, nullptr);
    EXPECT_EQ(back->i, r.i);
    EXPECT_EQ(back->u, r.u);
    EXPECT_EQ(back->d, r.d) << "doubles keep every bit";
    EXPECT_EQ(back->date, r.date);
    EXPECT_EQ(back->where, r.where);
    EXPECT_EQ(back->hour, r.hour);
    EXPECT_EQ(back->leaf->n, 7);
    ASSERT_EQ(back->leaves.size(), 3u);
    EXPECT_EQ(back->leaves[1].n, std::nullopt);
    EXPECT_EQ(ArchiveEncoder::archivedDataWithRootObject(*back, GetParam()), bytes);
    EXPECT_FALSE(nlohmann::json::parse(bytes).is_discarded());
}

TEST_P(ArchiveRoundTrip, AbsentValuesStayAbsent)
{
    const Root empty;
    const auto back =
        ArchiveDecoder::unarchiveRootObject<Root>(ArchiveEncoder::archivedDataWithRootObject(empty, GetParam()), nullptr);
    EXPECT_FALSE(back->i || back->u || back->d || back->date || back->where || back->hour);
    EXPECT_EQ(back->leaf, nullptr);
    EXPECT_TRUE(back->leaves.empty());
}

INSTANTIATE_TEST_SUITE_P(KeyedAndSequential, ArchiveRoundTrip, ::testing::Values(true, false));

TEST(ArchiveDecoder, RejectsDamageWithAReason)
{
    const std::string head = R"({"$archive":"quorvel","$version":1,"$root":{"$class":"Root",)";
    const std::vector<std::pair<std::string, std::string>> cases = {
        {head + R"("u":-1}})", "Root.u: expected an unsigned 64-bit integer"},
        {head + R"("i":1.5}})", "Root.i: expected a signed 64-bit integer"},
        {head + R"("i":9223372036854775808}})", "Root.i: expected a signed 64-bit integer"},
        {head + R"("d":"x"}})", "Root.d: expected a number"},
        {head + R"("date":1e300}})", "Root.date: expected a date"},
        {head + R"("date":99999999999999}})", "Root.date: expected a date"},
        {head + R"("where":{"$class":"CLLocation","latitude":91,"longitude":0}}})", "Root.where: expected a location on Earth"},
        {head + R"("where":{"$class":"CLLocation","latitude":1}}})", "Root.where: expected a location with latitude and longitude"},
        {head + R"("hour":{"$class":"NSDateComponents","year":2026,"month":13,"day":1,"hour":0}}})", "Root.hour: expected date components"},
        {head + R"("leaf":{"$class":"Other"}}})", "Root.leaf: expected Leaf"},
        {head + R"("leaf":[1]}})", "Root.leaf: expected an object"},
        {head + R"("leaves":{}}})", "Root.leaves: expected a list"},
        {head + R"("leaves":[3]}})", "Root.leaves: expected an object"},
        {R"({"$archive":"quorvel","$root":{"$class":"Leaf"}})", "archive.$root: expected Root"},
        {R"({"$root":{"$class":"Root"}})", "not an archive"},
        {R"({"$archive":"quorvel","$root":{"$class":"Root","$values":{}}})", "archive.$root: expected a value list"},
        {"{\"$archive\":\"quorvel\",\"$root\":", "not JSON"},
        // A key twice in one object, at any depth: a parser would keep only the last value.
        {head + R"("n":1,"n":2}})", "a key appears twice in one object"},
        {head + R"("leaf":{"$class":"Leaf","n":1,"n":1}}})", "a key appears twice in one object"},
        {head + R"("leaves":[{"$class":"Leaf"},{"$class":"Leaf","n":1,"x":{},"n":2}]}})",
         "a key appears twice in one object"},
        {R"({"$archive":"quorvel","$root":{"$class":"Root"},"$root":{"$class":"Root"}})",
         "a key appears twice in one object"},
    };
    for (const auto& [bytes, reason] : cases) {
        try {
            ArchiveDecoder::unarchiveRootObject<Root>(bytes, nullptr);
            ADD_FAILURE() << "accepted " << bytes;
        } catch (const ArchiveError& e) {
            EXPECT_EQ(std::string(e.what()), reason) << bytes;
        }
    }
}

TEST(ArchiveDecoder, TheSameKeyInSeparateObjectsIsNoDuplicate)
{
    const std::string bytes = R"({"$archive":"quorvel","$version":1,"$root":{"$class":"Root","i":1,)"
                              R"("leaf":{"$class":"Leaf","n":2},"leaves":[{"$class":"Leaf","n":3},{"$class":"Leaf","n":4}]}})";
    EXPECT_NO_THROW(ArchiveDecoder::unarchiveRootObject<Root>(bytes, nullptr));
}

}  // namespace
}  // namespace quorvel
