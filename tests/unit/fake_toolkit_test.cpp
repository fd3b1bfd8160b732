// The fake toolkit's own promises, on which every handler test relies: a tray that refuses
// what a real shell refuses, events delivered exactly when scripted, and an ending process.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "tests/unit/harness.h"
#include "tray/notify_icon_record.h"

namespace quor6::fake {
namespace {

using testing::ElementsAre;

NotifyIconRecord recordFor(int slot, IconHolder image) {
    NotifyIconRecord record;
    record.cbSize = kRecordSize;
    record.hWnd = fakeTextBoxHandle(slot);
    record.uID = static_cast<std::uint32_t>(slot);
    record.uFlags = kRecordFlags;
    record.uCallbackMessage = kCallbackMessage;
    record.hIcon = fakeIconHandle(image);
    return record;
}

TEST(FakeTray, RefusesWhatARealShellRefuses) {
    FakeToolkit toolkit;
    const NotifyIconRecord one = recordFor(1, IconHolder::PictureNum1);
    EXPECT_FALSE(toolkit.shellNotifyIcon(kNimModify, one));
    EXPECT_FALSE(toolkit.shellNotifyIcon(kNimDelete, one));
    EXPECT_TRUE(toolkit.shellNotifyIcon(kNimAdd, one));
    EXPECT_FALSE(toolkit.shellNotifyIcon(kNimAdd, one));
    EXPECT_TRUE(toolkit.shellNotifyIcon(kNimModify, recordFor(1, IconHolder::PictureS)));
    EXPECT_EQ(toolkit.trayPicture(), "S----");
    EXPECT_FALSE(toolkit.shellNotifyIcon(7, one));
    EXPECT_TRUE(toolkit.shellNotifyIcon(kNimDelete, one));
    EXPECT_EQ(toolkit.trayIconCount(), 0u);
    EXPECT_EQ(toolkit.trayRequestCount(), 7);
}

TEST(FakeTray, KnowsAnIconByHostAndIdTogether) {
    FakeToolkit toolkit;
    NotifyIconRecord mixed = recordFor(2, IconHolder::PictureNum2);
    mixed.hWnd = fakeTextBoxHandle(3);
    EXPECT_TRUE(toolkit.shellNotifyIcon(kNimAdd, mixed));
    EXPECT_EQ(toolkit.trayPicture(), "-----");  // slot 2 belongs to Text2, not Text3
    EXPECT_EQ(toolkit.trayIconCount(), 1u);
    EXPECT_FALSE(toolkit.shellNotifyIcon(kNimDelete, recordFor(2, IconHolder::PictureNum2)));
}

TEST(FakeTray, DecodesTheRawBytesLittleEndian) {
    FakeToolkit toolkit;
    toolkit.shellNotifyIcon(kNimAdd, recordFor(5, IconHolder::PictureSW));
    const TrayRequest request = toolkit.trayRequests().at(0);
    EXPECT_EQ(request.bytes[0], 89);
    EXPECT_EQ(request.uID(), 5u);
    EXPECT_EQ(request.hWnd(), 0x00010500u);
    EXPECT_EQ(request.bytes[5], 0x05);
    EXPECT_EQ(request.bytes[6], 0x01);
    EXPECT_EQ(request.image, IconHolder::PictureSW);
    EXPECT_TRUE(request.tipIsZero());
    EXPECT_EQ(request.describe(), "add 5 PictureSW");
}

TEST(FakeTray, ShowsAnUnknownImageAsAQuestionMark) {
    FakeToolkit toolkit;
    NotifyIconRecord record = recordFor(1, IconHolder::PictureNum1);
    record.hIcon = 0x1234;
    toolkit.shellNotifyIcon(kNimAdd, record);
    EXPECT_EQ(toolkit.trayPicture(), "?----");
}

TEST(FakeEvents, ArriveAtTheScriptedDoEventsInScriptOrder) {
    Harness h;
    h.start();
    h.toolkit.onDoEvents(2, Event::mouse(1, kMouseMove));
    h.toolkit.onDoEvents(1, Event::mouse(2, kMouseMove));
    h.toolkit.onDoEvents(2, Event::mouse(3, kMouseMove));
    const std::size_t mark = h.toolkit.mark();
    h.toolkit.doEvents();
    h.toolkit.doEvents();
    h.toolkit.doEvents();
    EXPECT_THAT(h.toolkit.trace({CallKind::DoEvents, CallKind::Deliver}, mark),
                ElementsAre("doEvents", "deliver mouse 2 0x200", "doEvents",
                            "deliver mouse 1 0x200", "deliver mouse 3 0x200", "doEvents"));
    EXPECT_FALSE(h.toolkit.hasScheduledEvents());
}

TEST(FakeEvents, TimedEventsWaitForTheFirstDoEventsFromTheirTime) {
    Harness h;
    h.start();
    h.toolkit.atTime(700, Event::mouse(4, kMouseMove));
    const std::size_t mark = h.toolkit.mark();
    h.toolkit.doEvents();
    h.toolkit.sleepMilliseconds(699);
    h.toolkit.doEvents();
    h.toolkit.sleepMilliseconds(1);
    h.toolkit.doEvents();
    EXPECT_THAT(h.toolkit.trace({CallKind::DoEvents, CallKind::Deliver}, mark),
                ElementsAre("doEvents", "doEvents", "doEvents", "deliver mouse 4 0x200"));
    EXPECT_EQ(h.toolkit.now(), 700u);
}

TEST(FakeTray, RefusesARecordRewrittenWhileTheShellHoldsIt) {
    Harness h;
    h.start();
    NotifyIconRecord record = recordFor(1, IconHolder::PictureNum7);
    h.toolkit.insideTrayRequest(1, Event::mouse(1, kMouseMove));
    h.toolkit.setObserver([&record] { record.hIcon = 0; });
    EXPECT_THROW(h.toolkit.shellNotifyIcon(kNimModify, record), ToolkitFault);
}

TEST(FakeEvents, CanHoldMessagesBackDuringADelete) {
    Harness h;
    h.start();
    h.toolkit.setDeliverInsideDeletes(false);
    h.toolkit.insideTrayRequest(1, Event::mouse(1, kMouseMove));
    const std::size_t mark = h.toolkit.mark();
    const NotifyIconRecord one = recordFor(1, IconHolder::PictureNum1);
    h.toolkit.shellNotifyIcon(kNimDelete, one);
    h.toolkit.shellNotifyIcon(kNimAdd, one);
    EXPECT_THAT(h.toolkit.traceAll(mark),
                ElementsAre("tray delete 1 PictureNum1", "tray add 1 PictureNum1",
                            "deliver mouse 1 0x200"));
}

TEST(FakeEvents, TheIdleEventOnlyComesWhenNothingIsScheduled) {
    Harness h;
    h.start();
    h.toolkit.setIdleEvent(Event::mouse(1, kLeftButtonUp));
    h.toolkit.onDoEvents(2, Event::mouse(2, kMouseMove));
    const std::size_t mark = h.toolkit.mark();
    h.toolkit.doEvents();
    h.toolkit.doEvents();
    h.toolkit.doEvents();
    EXPECT_THAT(h.toolkit.trace({CallKind::DoEvents, CallKind::Deliver}, mark),
                ElementsAre("doEvents", "doEvents", "deliver mouse 2 0x200", "doEvents",
                            "deliver mouse 1 0x202"));
}

TEST(FakeProcess, EndingThrowsAndIsTheLastCall) {
    FakeToolkit toolkit;
    EXPECT_THROW(toolkit.endProcess(), ProcessEnded);
    EXPECT_TRUE(toolkit.processEnded());
    EXPECT_EQ(toolkit.callsAfterEnd(), 0);
    toolkit.doEvents();
    EXPECT_EQ(toolkit.callsAfterEnd(), 1);
}

TEST(FakeProcess, ALoopThatNeverEndsIsReportedInsteadOfHanging) {
    Harness h;
    h.start();
    h.toolkit.setDoEventsLimit(50);
    EXPECT_THROW(h.mouse(1, kLeftButtonDown), ToolkitFault);  // no release ever comes
}

TEST(FakeControls, RefuseControlsThatDoNotExist) {
    FakeToolkit toolkit;
    EXPECT_THROW(toolkit.textBoxHandle(0), ToolkitFault);
    EXPECT_THROW(toolkit.textBoxHandle(6), ToolkitFault);
    EXPECT_THROW(toolkit.setHistoryEntryVisible(10, true), ToolkitFault);
    EXPECT_THROW(toolkit.setHistoryEntryCaption(-1, ""), ToolkitFault);
    EXPECT_THROW(toolkit.listItem(ListBox::rirekiList, 0), ToolkitFault);
}

}  // namespace
}  // namespace quor6::fake
