// Numbers read out of the windows' fields, and list positions kept in members.
#include <QComboBox>
#include <QLineEdit>
#include <gtest/gtest.h>

#include "ui/DataExchange.h"
#include "res/Address.h"
#include "tests/support/RecordingBoxes.h"

namespace tallyx::test {
namespace {

TEST(ParseUnsignedField, AcceptsUnsignedWholeNumbersOnly)
{
    const struct {
        const char* text;
        std::optional<uint32_t> value;
    } rows[] = {
        {"1", 1u}, {"0", 0u}, {" 7 ", 7u}, {"\t12", 12u}, {"007", 7u},
        {"4294967295", 4294967295u}, {"4294967296", std::nullopt},
        {"", std::nullopt}, {"  ", std::nullopt}, {"-1", std::nullopt}, {"+1", std::nullopt},
        {"1a", std::nullopt}, {"abc", std::nullopt}, {"1 2", std::nullopt}, {"1.5", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ParseUnsignedField(row.text), row.value);
    }
}

TEST(ParseDottedAddress, ReadsFourOctetsFirstHigh)
{
    const struct {
        const char* text;
        std::optional<uint32_t> value;
    } rows[] = {
        {"192.168.1.100", 0xC0A80164u}, {"0.0.0.0", 0u}, {"255.255.255.255", 0xFFFFFFFFu},
        {"256.1.1.1", std::nullopt}, {"1.2.3", std::nullopt}, {"1.2.3.4.5", std::nullopt},
        {"1..3.4", std::nullopt}, {"a.b.c.d", std::nullopt}, {"", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(ParseDottedAddress(row.text), row.value);
    }
}

TEST(ReadUnsignedField, ANumberIsReadAndAnythingElseAskedForAgain)
{
    RecordingBoxes boxes;
    InstallBoxes(&boxes);
    QWidget owner;
    QLineEdit* edit = new QLineEdit(&owner);
    const struct {
        const char* text;
        std::optional<uint32_t> value;
    } rows[] = {{" 12 ", 12u}, {"0", 0u}, {"", std::nullopt}, {"-3", std::nullopt}, {"4294967296", std::nullopt}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        boxes.shown.clear();
        edit->setText(row.text);
        edit->deselect();
        EXPECT_EQ(ReadUnsignedField(edit, &owner), row.value);
        if (row.value) {
            EXPECT_TRUE(boxes.shown.empty());
            continue;
        }
        ASSERT_EQ(boxes.shown.size(), 1u);
        EXPECT_EQ(boxes.shown[0].caption, "tallyx");
        EXPECT_EQ(boxes.shown[0].text, "请输入一个无符号整数。");
        EXPECT_EQ(boxes.shown[0].owner, &owner);
        EXPECT_EQ(edit->selectedText(), edit->text());
        EXPECT_EQ(edit->text(), row.text);   // kept for the operator to mend
    }
    InstallBoxes(nullptr);
}

TEST(ExchangeIndex, SavedIntoTheMemberOrShownFromIt)
{
    QComboBox combo;
    combo.addItems({"a", "b", "c"});
    int index = 2;
    ExchangeIndex(false, &combo, index);
    EXPECT_EQ(combo.currentIndex(), 2);
    combo.setCurrentIndex(0);
    ExchangeIndex(true, &combo, index);
    EXPECT_EQ(index, 0);
}

} // namespace
} // namespace tallyx::test
