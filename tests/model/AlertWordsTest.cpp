// SPDX-License-Identifier: GPL-3.0-or-later
// The alerts as composed (in English, as the history and the JSON keep them) and as a German user
// reads them: every composed alert is recognised with its figures, a SIM's name stays, and a
// text of no pattern is left alone.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "model/AlertWords.hpp"
#include "model/NMDispatcher.hpp"
#include "platform/Translation.hpp"

namespace quorvel {
namespace {

class AlertWordsTest : public ::testing::Test {
protected:
    void TearDown() override { std::setlocale(LC_MESSAGES, "C"); }
    static void german()
    {
        ASSERT_NE(std::setlocale(LC_MESSAGES, "de_DE.UTF-8"), nullptr) << "tools/dev bootstrap makes the German locale";
        bindtextdomain(Translation::kDomain, QUORVEL_LOCALE_DIR);
        bind_textdomain_codeset(Translation::kDomain, "UTF-8");
        textdomain(Translation::kDomain);
    }
};

const char* const kComposed[] = {
    "You exceeded your day plan limit. 120.5 MB today used.",
    "You used 90% of your month plan. 200 MB left for this month.",
    "You've exceeded your month data plan for 200%. Used 4 GB of 2 GB.",
    "The plan of 2 GB is used up. Mobile data stays off until you turn it back on.",
    "The plan of 2 GB is used up, but mobile data could not be turned off: NetworkManager refused: no, not now.",
    "35.2 MB used while roaming today.",
};

TEST_F(AlertWordsTest, InEnglishEveryAlertStaysAsComposed)
{
    for (const char* text : kComposed) {
        EXPECT_EQ(AlertWords::translated(text), text);
    }
    EXPECT_EQ(AlertWords::translated("Something else: 5 MB."), "Something else: 5 MB.");
    EXPECT_EQ(AlertWords::translated(""), "");
}

TEST_F(AlertWordsTest, InGermanTheFiguresMoveIntoTheTranslatedSentences)
{
    german();
    EXPECT_EQ(AlertWords::translated(kComposed[0]), "Sie haben Ihr Tageslimit überschritten. Heute 120.5 MB verbraucht.");
    EXPECT_EQ(AlertWords::translated(kComposed[1]),
              "Sie haben 90% Ihres Monatstarifs verbraucht. Für diesen Monat bleiben 200 MB.");
    EXPECT_EQ(AlertWords::translated(kComposed[2]),
              "Sie haben Ihr monatliches Datenvolumen um 200% überschritten. 4 GB von 2 GB verbraucht.");
    EXPECT_EQ(AlertWords::translated(kComposed[4]),
              "Der Tarif von 2 GB ist aufgebraucht, aber mobile Daten ließen sich nicht ausschalten: NetworkManager "
              "refused: no, not now.")
        << "the error after the colon is the other program's own";
    EXPECT_EQ(AlertWords::translated(kComposed[5]), "Heute 35.2 MB beim Roaming verbraucht.");
    EXPECT_EQ(AlertWords::translated(NMDispatcher::kTitleMonth), "Warnung zum Datenverbrauch");
    EXPECT_EQ(AlertWords::translated(std::string(NMDispatcher::kTitleDay) + " \u2014 Tele Nord"),
              "Täglicher Datenverbrauch \u2014 Tele Nord")
        << "a SIM's name stays";
    EXPECT_EQ(AlertWords::translated("You used 90% of your month plan."), "You used 90% of your month plan.")
        << "half a pattern is no pattern";
}

}  // namespace
}  // namespace quorvel
