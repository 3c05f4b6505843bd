#include "support/tarvel_test.h"

#include "app/window_actions.h"

#include <QAction>
#include <QMenu>

namespace {

class WindowActionsTest : public TarvelTest {
  protected:
    TForm1 form;
};

TEST_F(WindowActionsTest, ThePointTablesMenuOffersFilesUndoAndTheClipboard) {
    QMenu* menu = form.actions->pointsMenu;
    QStringList texts;
    for (QAction* action : menu->actions())
        if (!action->isSeparator())
            texts << action->text().remove('&');
    EXPECT_EQ(texts, (QStringList{"Open…", "Save…", "Undo", "Redo", "Cut", "Copy", "Paste", "Delete"}));
    EXPECT_FALSE(form.actions->undo->isEnabled()) << "nothing to undo yet";
    form.sgdResult->setCurrentIndex(form.sgdResult->model()->index(0, 0));
    menu->actions()[9]->trigger(); // Delete
    EXPECT_EQ(form.sgdResult->cells().cell(0, 1), "");
    EXPECT_TRUE(form.actions->undo->isEnabled());
    EXPECT_EQ(form.actions->undo->text().remove('&'), "Undo Edit") << "the undo action names the step";
    for (const QKeySequence& keys : {QKeySequence("Ctrl+Shift+Z"), QKeySequence("Ctrl+Y")})
        EXPECT_TRUE(form.actions->redo->shortcuts().contains(keys)) << keys.toString().toStdString();
}

} // namespace
