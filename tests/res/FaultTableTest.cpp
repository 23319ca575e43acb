// What the operator reads for each link fault, written out from the messages the
// printer tool shows.
#include <gtest/gtest.h>

#include "res/Faults.h"

using namespace tallyx;

TEST(FaultTable, EveryFaultHasItsCaptionTextFocusAndExitStatus)
{
    const struct {
        LinkFault fault;
        const char* caption;
        const char* text;
        int focus;
        int exit;
        const char* cli;
    } rows[] = {
        {LinkFault::PortBusy, "警告", "此端口被占用或已损坏", 0, 3, "此端口被占用或已损坏"},
        {LinkFault::UsbOpenFailed, "tallyx", "此端口被占用或已损坏", 0, 3, "此端口被占用或已损坏"},
        {LinkFault::NoUsbDevice, "打印机设置工具", "无法找到USB设备", 0, 3, "无法找到USB设备"},
        {LinkFault::UsbNotOpened, "", "", 0, 3, "tallyx-cli: the USB printer could not be opened"},
        {LinkFault::AddressBlank, "打印机设置工具", "远程IP地址为空!", 1021, 2, "远程IP地址为空!"},
        {LinkFault::AddressIncomplete, "打印机设置工具", "你输入的IP地址不完整!", 1021, 2, "你输入的IP地址不完整!"},
        {LinkFault::SendAddressIncomplete, "打印机设置工具", "您输入的IP地址不完整!", 1021, 2, "您输入的IP地址不完整!"},
        {LinkFault::SocketFailed, "错误", "创建套接字失败", 0, 3, "创建套接字失败"},
        {LinkFault::NotReached, "打印机设置工具", "与打印机连接不成功!", 0, 3, "与打印机连接不成功!"},
        {LinkFault::CutOff, "打印机设置工具", "与打印机连接不成功!", 0, 3, "与打印机连接不成功!"},
        {LinkFault::ReplyShort, "", "", 0, 3, "tallyx-cli: the printer's answer to the network query is too short"},
        {LinkFault::SaveFailed, "打印机设置工具", "通讯不成功,请断开再重新连接!", 0, 3, "通讯不成功,请断开再重新连接!"},
        {LinkFault::WriteTimeout, "", "", 0, 3, "tallyx-cli: the printer did not take the command in time"},
        {LinkFault::Stopped, "", "", 0, 3, "tallyx-cli: stopped"},
        {LinkFault::NotWritten, "", "", 0, 3, "tallyx-cli: no device is open: nothing was written"},
        {LinkFault::Disconnected, "", "", 0, 3, "tallyx-cli: the link was disconnected"},
        {LinkFault::NoReply, "", "", 0, 3, "tallyx-cli: the printer did not answer"},
        {LinkFault::BadReply, "", "", 0, 3, "tallyx-cli: the printer's answer is not of the layout asked for"},
        {LinkFault::TooLong, "打印机设置工具", "命令超过24575字节，未发送!", 0, 2, "命令超过24575字节，未发送!"},
    };
    EXPECT_EQ(std::size(rows) + 1, kFaults.size());   // every fault but None
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const FaultText& f = FaultRow(row.fault);
        EXPECT_EQ(f.caption, row.caption);
        EXPECT_EQ(f.text, row.text);
        EXPECT_EQ(f.focusId, row.focus);
        EXPECT_EQ(f.exitStatus, row.exit);
        EXPECT_EQ(FaultCliText(row.fault), row.cli);
    }
}
