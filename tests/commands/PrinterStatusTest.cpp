// Real-time status and identity replies, against the bytes printers send.
#include <gtest/gtest.h>

#include "commands/PrinterStatus.h"
#include "tests/support/Hex.h"

using namespace tallyx;
using namespace tallyx::test;

TEST(StatusRequests, AreDleEotAndGsI)
{
    EXPECT_EQ(BuildStatusRequest(StatusKind::Printer), FromHex("10 04 01"));
    EXPECT_EQ(BuildStatusRequest(StatusKind::PaperSensor), FromHex("10 04 04"));
    EXPECT_EQ(BuildIdentityRequest(IdentityKind::Firmware), FromHex("1D 49 41"));
    EXPECT_EQ(BuildIdentityRequest(IdentityKind::Serial), FromHex("1D 49 44"));
}

TEST(StatusBytes, EachBitSetsItsOwnField)
{
    struct Row {
        StatusKind kind;
        uint8_t reply;
        bool PrinterStatus::*field;
    };
    const Row rows[] = {
        {StatusKind::Printer, 0x16, &PrinterStatus::drawerPinHigh},
        {StatusKind::Printer, 0x1A, &PrinterStatus::offline},
        {StatusKind::Printer, 0x32, &PrinterStatus::waitingForRecovery},
        {StatusKind::Printer, 0x52, &PrinterStatus::feedButton},
        {StatusKind::OfflineCause, 0x16, &PrinterStatus::coverOpen},
        {StatusKind::OfflineCause, 0x1A, &PrinterStatus::fedByButton},
        {StatusKind::OfflineCause, 0x32, &PrinterStatus::stoppedAtPaperEnd},
        {StatusKind::OfflineCause, 0x52, &PrinterStatus::errorOccurred},
        {StatusKind::ErrorCause, 0x1A, &PrinterStatus::cutterError},
        {StatusKind::ErrorCause, 0x32, &PrinterStatus::unrecoverable},
        {StatusKind::ErrorCause, 0x52, &PrinterStatus::autoRecoverable},
    };
    const bool PrinterStatus::*all[] = {
        &PrinterStatus::drawerPinHigh, &PrinterStatus::offline,     &PrinterStatus::waitingForRecovery,
        &PrinterStatus::feedButton,    &PrinterStatus::coverOpen,   &PrinterStatus::fedByButton,
        &PrinterStatus::stoppedAtPaperEnd, &PrinterStatus::errorOccurred, &PrinterStatus::cutterError,
        &PrinterStatus::unrecoverable, &PrinterStatus::autoRecoverable,
    };
    for (const Row& row : rows) {
        PrinterStatus s;
        ASSERT_TRUE(DecodeStatusByte(row.kind, row.reply, s)) << int(row.reply);
        for (auto field : all) EXPECT_EQ(s.*field, field == row.field) << int(row.kind) << " " << int(row.reply);
        // The base byte clears what the bit set.
        ASSERT_TRUE(DecodeStatusByte(row.kind, 0x12, s));
        EXPECT_FALSE(s.*row.field);
    }
}

TEST(StatusBytes, PaperSensorPairs)
{
    PrinterStatus s;
    ASSERT_TRUE(DecodeStatusByte(StatusKind::PaperSensor, 0x12, s));
    EXPECT_EQ(s.paper, PaperLevel::Ok);
    ASSERT_TRUE(DecodeStatusByte(StatusKind::PaperSensor, 0x1E, s));
    EXPECT_EQ(s.paper, PaperLevel::NearEnd);
    ASSERT_TRUE(DecodeStatusByte(StatusKind::PaperSensor, 0x7E, s));
    EXPECT_EQ(s.paper, PaperLevel::Out);
    ASSERT_TRUE(DecodeStatusByte(StatusKind::PaperSensor, 0x72, s));
    EXPECT_EQ(s.paper, PaperLevel::Out);
}

TEST(StatusBytes, WrongFixedBitsAreRefused)
{
    // bit 0 set, bit 1 clear, bit 4 clear, bit 7 set: each alone makes it no status byte.
    for (const uint8_t reply : {0x13, 0x10, 0x02, 0x92, 0x00, 0xFF}) {
        PrinterStatus s;
        s.offline = true;
        EXPECT_FALSE(DecodeStatusByte(StatusKind::Printer, reply, s)) << int(reply);
        EXPECT_TRUE(s.offline) << "a refused byte leaves the status as it was";
    }
}

TEST(IdentityReplies, UnderscoreTextNul)
{
    using namespace std::string_view_literals;
    EXPECT_EQ(DecodeIdentityReply("_TM-T88V\0"sv), "TM-T88V");
    EXPECT_EQ(DecodeIdentityReply("_\0"sv), "");
    EXPECT_EQ(DecodeIdentityReply("TM-T88V\0"sv), std::nullopt);     // no header
    EXPECT_EQ(DecodeIdentityReply("_TM-T88V"sv), std::nullopt);      // not ended
    EXPECT_EQ(DecodeIdentityReply("_TM\x01T88\0"sv), std::nullopt);  // control byte
    EXPECT_EQ(DecodeIdentityReply(""sv), std::nullopt);
    EXPECT_FALSE(IdentityReplyComplete("_TM"sv));
    EXPECT_TRUE(IdentityReplyComplete("_TM\0"sv));
}

TEST(CanPrint, NearEndStillPrintsAnyStopDoesNot)
{
    PrinterStatus s;
    EXPECT_TRUE(CanPrint(s));
    s.paper = PaperLevel::NearEnd;
    EXPECT_TRUE(CanPrint(s));
    for (bool PrinterStatus::*stop : {&PrinterStatus::offline, &PrinterStatus::coverOpen, &PrinterStatus::cutterError,
                                      &PrinterStatus::unrecoverable, &PrinterStatus::autoRecoverable}) {
        PrinterStatus t;
        t.*stop = true;
        EXPECT_FALSE(CanPrint(t));
    }
    PrinterStatus out;
    out.paper = PaperLevel::Out;
    EXPECT_FALSE(CanPrint(out));
}
