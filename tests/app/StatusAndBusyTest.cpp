// The status text stack, the busy guards and the registered event types.
#include <gtest/gtest.h>

#include <QApplication>

#include "app/BusyCursor.h"
#include "app/QtMidiNotifyTarget.h"
#include "app/StatusTextStack.h"

namespace {

TEST(StatusTextStackTest, BottomIsReadyAndStays)
{
    TQMStatusTextStack stack;
    QStringList shown;
    stack.SetShowFunction([&shown](const QString& t) { shown << t; });
    EXPECT_EQ(stack.Top(), QStringLiteral("Ready"));
    stack.Push(QStringLiteral("Playing..."));
    stack.Replace(QStringLiteral("Repeating..."));
    EXPECT_EQ(stack.Depth(), 2);
    stack.Pop();
    stack.Pop();
    EXPECT_EQ(stack.Depth(), 1);
    EXPECT_EQ(stack.Top(), QStringLiteral("Ready"));
    EXPECT_EQ(shown, (QStringList{"Ready", "Playing...", "Repeating...", "Ready", "Ready"}));
}

TEST(StatusTextStackTest, PlayerBusyShowsWorkingForItsLifetime)
{
    TQMStatusTextStack stack;
    {
        TQMPlayerBusy busy(&stack);
        EXPECT_EQ(stack.Top(), QStringLiteral("Working..."));
        EXPECT_NE(QApplication::overrideCursor(), nullptr);
        {
            TQMPlayerBusy inner(&stack, QStringLiteral("Loading"));
            EXPECT_EQ(stack.Top(), QStringLiteral("Loading"));
        }
        EXPECT_EQ(stack.Top(), QStringLiteral("Working..."));
    }
    EXPECT_EQ(stack.Top(), QStringLiteral("Ready"));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(BusyCursorTest, OnTwiceHasNoFurtherEffect)
{
    {
        TQMBusyCursor cursor;
        cursor.SetBusy(true);
        EXPECT_TRUE(cursor.IsBusy());
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        cursor.SetBusy(false);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        cursor.SetBusy(false);
        cursor.SetBusy(true);
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(PlayerEventsTest, TwoRegisteredTypesByName)
{
    const QEvent::Type seq = TPlayerEvents::TypeOf("QMSMidiSeq");
    const QEvent::Type init = TPlayerEvents::TypeOf("QMINIT");
    EXPECT_GE(int(seq), int(QEvent::User));
    EXPECT_GE(int(init), int(QEvent::User));
    EXPECT_NE(seq, init);
    EXPECT_EQ(seq, TPlayerEvents::MidiSeq());
    EXPECT_EQ(TPlayerEvents::TypeOf("other"), QEvent::None);
}

} // namespace
