// The single-instance marker: one holder per name and user; gone when released.
#include "platform/core/singleinstance.h"

#include <gtest/gtest.h>

#include <QUuid>

namespace {

QString UniqueName()
{
    return QStringLiteral("test-") + QUuid::createUuid().toString(QUuid::WithoutBraces) + u"_Mutex";
}

TEST(InstanceMarker, SecondHolderIsRefusedUntilTheFirstCloses)
{
    const QString name = UniqueName();
    CInstanceMarker first;
    ASSERT_EQ(first.Create(name), CInstanceMarker::Result::Created);
    EXPECT_TRUE(first.IsHeld());

    CInstanceMarker second;
    EXPECT_EQ(second.Create(name), CInstanceMarker::Result::AlreadyExists);
    EXPECT_FALSE(second.IsHeld());
    EXPECT_FALSE(CheckSingleInstance(name, second));

    // Another name does not collide.
    CInstanceMarker other;
    EXPECT_TRUE(CheckSingleInstance(UniqueName(), other));

    first.Close();
    EXPECT_TRUE(CheckSingleInstance(name, second));
    EXPECT_TRUE(second.IsHeld());
}

TEST(InstanceMarker, NamesOfAnyLengthAndTextWork)
{
    const QString name = QString(500, u'\u00E9') + UniqueName();
    CInstanceMarker a;
    CInstanceMarker b;
    EXPECT_EQ(a.Create(name), CInstanceMarker::Result::Created);
    EXPECT_EQ(b.Create(name), CInstanceMarker::Result::AlreadyExists);
    EXPECT_NE(
        CInstanceMarker::SocketName(QStringLiteral("A")), CInstanceMarker::SocketName(QStringLiteral("a")));
}

} // namespace
