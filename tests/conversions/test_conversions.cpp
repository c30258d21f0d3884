// The readers of the input fields: what they take and what they refuse.
#include <gtest/gtest.h>

#include <clocale>

#include "Conversions.h"

TEST(LitEntier, Components) {
    struct Cas {
        const char* texte;
        bool lu;
        int valeur;
    };
    const Cas cas[] = {
        {"42", true, 42},         {"002", true, 2},  {" 02", true, 2},
        {"  7", true, 7},         {"000", true, 0},  {"999999", true, 999999},
        {"4 ", false, 0},         {"1 2", false, 0}, {"", false, 0},
        {"   ", false, 0},        {"+5", false, 0},  {"-5", false, 0},
        {"1.5", false, 0},        {"x1", false, 0},  {"0000000000123", true, 123},
        {"1234567890", false, 0},  // more than an int holds
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte);
        int v = -1;
        EXPECT_EQ(Conversions::LitEntier(c.texte, v), c.lu);
        if (c.lu) {
            EXPECT_EQ(v, c.valeur);
        }
    }
}

TEST(LitNombre, FieldTexts) {
    struct Cas {
        const char* texte;
        bool lu;
        double valeur;
    };
    const Cas cas[] = {
        {"+10", true, 10}, {"-20", true, -20}, {"760", true, 760},   {"+5 ", true, 5},
        {" 76", true, 76}, {"76 ", true, 76},  {"-05", true, -5},    {"+ 5", false, 0},
        {"   ", false, 0}, {"", false, 0},     {"-", false, 0},      {"7 6", false, 0},
        {"--5", false, 0}, {"+-5", false, 0},  {"12.5", true, 12.5}, {"1e3", true, 1000},
        {"1e", false, 0},  {".5", true, 0.5},  {"5.", true, 5},      {"1e999", false, 0},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.texte);
        double v = -1;
        EXPECT_EQ(Conversions::LitNombre(c.texte, v), c.lu);
        if (c.lu) {
            EXPECT_EQ(v, c.valeur);
        }
    }
    double v = 0;
    EXPECT_TRUE(Conversions::LitNombre("12,5", v, ","));
    EXPECT_EQ(v, 12.5);
    EXPECT_FALSE(Conversions::LitNombre("12.5", v, ","));
}

TEST(LitNombre, IndependentOfTheProcessLocale) {
    // Qt sets the process locale from the environment; a French one must not change reading.
    if (!std::setlocale(LC_NUMERIC, "fr_FR.UTF-8"))
        GTEST_SKIP() << "no fr_FR.UTF-8 locale on this machine";
    double v = 0;
    const bool lu = Conversions::LitNombre("12.5", v);
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_TRUE(lu);
    EXPECT_EQ(v, 12.5);
}

TEST(Messages, QuoteTheTextAsItStood) {
    EXPECT_EQ(Conversions::MessageEntier("4 "), "'4 ' n'est pas une valeur entière correcte");
    EXPECT_EQ(Conversions::MessageNombre("   "),
              "'   ' n'est pas une valeur en virgule flottante correcte");
}
