#include "support/tarvel_test.h"

#include "toolkit/text_box.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace {

class TextBox : public TarvelTest {
  protected:
    void SetUp() override {
        TarvelTest::SetUp();
        limitLength(box);
        ASSERT_TRUE(showActive(box));
    }
    void paste(const QString& text) {
        QApplication::clipboard()->setText(text);
        box.paste();
        QCoreApplication::processEvents(); // the message waits for the event loop
    }
    QLineEdit box;
};

TEST_F(TextBox, APasteBeyondTheLimitIsRefusedWholeWithAMessage) {
    box.setText("3");
    box.selectAll();
    paste(QString(10'000'000, '9'));
    EXPECT_EQ(box.text(), "3");
    EXPECT_EQ(errors(), QStringList{"The text is too long: a box holds at most 32768 characters."});
}

TEST_F(TextBox, TakesAndKeepsTextUpToTheLimit) {
    paste(QString(kMaxTextLength - 1, '9'));
    QTest::keyClick(&box, Qt::Key_8);
    EXPECT_EQ(box.text().size(), kMaxTextLength);
    EXPECT_TRUE(errors().isEmpty());
    QTest::keyClick(&box, Qt::Key_8);
    QCoreApplication::processEvents();
    EXPECT_EQ(box.text().size(), kMaxTextLength) << "one more key is one too many";
    EXPECT_EQ(errors().size(), 1);
}

} // namespace
