// SPDX-License-Identifier: GPL-3.0-or-later
// Deferral and repeats: the date check and the texts OK leaves in the send parameters.

#include "dispatch/ServiceSettings.h"

#include "platform/Codepage.h"

#include <gtest/gtest.h>

using namespace zolbin;

namespace {

ServiceForm deferral(const char* day, const char* month, const char* year)
{
    ServiceForm form;
    form.later = true;
    form.day = day;
    form.month = cp(month);
    form.year = year;
    form.hour = "9";
    form.minute = "5";
    return form;
}

} // namespace

TEST(ServiceSettings, DateCheckKnowsMonthNamesLengthsAndLeapYears)
{
    struct Case
    {
        const char *day, *month, *year;
        bool valid;
    };
    for (const Case& c : {Case{"31", "Февраль", "2024", false}, Case{"29", "Февраль", "2024", true},
                          Case{"29", "Февраль", "2023", false}, Case{"29", "Февраль", "1900", false},
                          Case{"29", "Февраль", "2000", true}, Case{"31", "Апрель", "2024", false},
                          Case{"31", "ДЕКАБРЬ", "9999", true}, Case{"1", "январь", "10000", false},
                          Case{"1", "Январь", "0", false}, Case{"0", "Январь", "2024", false},
                          Case{"5", "март", "24", true}, Case{"5", "Мар", "2024", false}})
        EXPECT_EQ(DeferralDateValid(deferral(c.day, c.month, c.year)).value(), c.valid)
            << c.day << " " << c.month << " " << c.year;

    const Result<bool> emptyYear = DeferralDateValid(deferral("5", "Март", ""));
    ASSERT_FALSE(emptyYear) << "an empty year passed";
    EXPECT_EQ(utf8(emptyYear.failure().russian()), "'' неверное целочисленное значение");
    EXPECT_EQ(DeferralDateValid(deferral("5x", "Март", "2024")).failure().code, FailureCode::BadNumber);
}

TEST(ServiceSettings, ShortTextsArePaddedAndTheYearIsKeptAsTyped)
{
    TSendParams params;
    Text summary;
    ServiceForm form = deferral("", "Нет такого", "24");
    form.minute = "";
    ASSERT_TRUE(ApplyServiceForm(form, params, summary));
    EXPECT_EQ(params.DeferDate, "0.00.24");
    EXPECT_EQ(params.DeferTime, "09:0");
    EXPECT_EQ(utf8(summary.russian()), "Отложено на 0.00.24 09:0");
}
