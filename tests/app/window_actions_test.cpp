#include "support/tarvel_test.h"

#include "app/window_actions.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QSet>
#include <QTabWidget>
#include <QTest>

namespace {

class WindowActionsTest : public TarvelTest {
  protected:
    TForm1 form;
};

TEST_F(WindowActionsTest, ThePointTablesMenuOffersFilesUndoAndTheClipboard) {
    QMenu* menu = form.actions->pointsMenu;
    QStringList texts;
    QSet<QChar> letters;
    for (QAction* action : menu->actions())
        if (!action->isSeparator()) {
            const QString text = action->text();
            texts << QString(text).remove('&');
            const QChar letter = text.at(text.indexOf('&') + 1).toLower();
            EXPECT_FALSE(letters.contains(letter))
                << "two items answer to Alt+" << letter.toLatin1();
            letters.insert(letter);
        }
    EXPECT_EQ(texts, (QStringList{"Open…", "Save…", "Save with decimal commas…", "Print report…",
                                  "Save report as PDF…", "Undo", "Redo", "Cut", "Copy", "Paste",
                                  "Delete", "Least squares", "Weights (column w)"}));
    EXPECT_FALSE(form.actions->undo->isEnabled()) << "nothing to undo yet";
    form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(0, 0));
    menu->actions()[menu->actions().size() - 4]->trigger(); // Delete
    EXPECT_EQ(form.sgdResult->cells().cell(0, 1), "");
    EXPECT_TRUE(form.actions->undo->isEnabled());
    EXPECT_EQ(form.actions->undo->text().remove('&'), "Undo Edit")
        << "the undo action names the step";
    for (const bool commas : {true, false}) { // Ctrl+S saves as the user last chose
        form.actions->rememberSave(commas);
        EXPECT_EQ(form.actions->saveCommas->shortcut() == QKeySequence::Save, commas);
        EXPECT_EQ(form.actions->save->shortcut() == QKeySequence::Save, !commas);
    }
    for (const QKeySequence& keys : {QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")})
        EXPECT_TRUE(form.actions->redo->shortcuts().contains(keys))
            << keys.toString().toStdString();
}

// On the Draw page the buttons of the first page are hidden: their letters
// press nothing, and type nothing either.
TEST_F(WindowActionsTest, AltAndALetterOfAButtonOnAnotherPageDoesNothing) {
    ASSERT_TRUE(showActive(form));
    form.Tarvel->setCurrentIndex(1);
    form.txtMin->setFocus();
    const Grid points = dataRows(form.sgdResult->cells());
    const QString min = form.txtMin->text();
    QTest::keyClick(form.txtMin, Qt::Key_C, Qt::AltModifier);
    QTest::keyClick(form.txtMin, Qt::Key_D, Qt::AltModifier);
    EXPECT_EQ(form.txtMin->text(), min);
    EXPECT_EQ(dataRows(form.sgdResult->cells()), points) << "Clear and Del were not pressed";
    QTest::keyClicks(form.txtMin, "5");
    EXPECT_EQ(form.txtMin->text(), min + "5") << "plain typing goes on";
}

} // namespace
