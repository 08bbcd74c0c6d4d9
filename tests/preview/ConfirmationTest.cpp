// The overwrite dialog on its own and through the window's policy, offscreen.

#include "preview/frmConfirmation.h"
#include "shared/Messages.h"
#include "support/LayoutCheck.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using preview::frmConfirmation;
using preview::OverwriteChoice;

namespace {

class ConfirmationTest : public ::testing::Test {
protected:
    // Runs `act` on the dialog once it is open and modal; a dialog that `act` should have
    // closed and did not is a failure, and is closed so that the test ends.
    void whenOpen(std::function<void(frmConfirmation&)> act) {
        auto poll = std::make_shared<std::function<void(int)>>();
        polls_.push_back(poll);
        // The function reaches itself weakly: a strong self-reference would never be freed
        // when the test ends before the last check.
        *poll = [act = std::move(act), self = std::weak_ptr(poll)](int tries) {
            const std::shared_ptr<std::function<void(int)>> poll = self.lock();
            if (!poll)
                return;
            auto* dialog = qobject_cast<frmConfirmation*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                if (tries > 0)
                    QTimer::singleShot(10, [poll, tries] { (*poll)(tries - 1); });
                return;
            }
            act(*dialog);
            QTimer::singleShot(200, [poll] {
                if (auto* still =
                        qobject_cast<frmConfirmation*>(QApplication::activeModalWidget())) {
                    ADD_FAILURE() << "the dialog is still open";
                    still->close();
                }
                *poll = nullptr;
            });
        };
        QTimer::singleShot(0, [poll] { (*poll)(200); });
    }

private:
    std::vector<std::shared_ptr<std::function<void(int)>>> polls_;
};

TEST_F(ConfirmationTest, OpensOnOverwriteOnceWithTheFileAndTheFourAnswers) {
    frmConfirmation dialog("/opt/pictelle\\Thumbnails\\GP38.bmp");

    EXPECT_EQ(dialog.answer(), OverwriteChoice::OverwriteOnce);
    EXPECT_TRUE(dialog.optRENAME->isChecked());
    EXPECT_EQ(dialog.size(), QSize(499, 247));
    EXPECT_EQ(dialog.windowTitle(), QString::fromUtf16(u"Pictelle - Demande de confirmation"));
    // The full path, with the system's separators.
    EXPECT_EQ(dialog.Label1->text(), QStringLiteral("Fichier /opt/pictelle/Thumbnails/GP38.bmp"));
    EXPECT_TRUE(dialog.Label1->font().bold());
    EXPECT_EQ(dialog.Label2->text(),
              app::LoadMessage(app::MessageId::ConfirmationQuestion, {"|1", "\r\n"}));
    EXPECT_TRUE(dialog.Label2->text().contains("destination.\r\nQue"));
    EXPECT_EQ(dialog.optRENAME->text(), app::LoadMessage(app::MessageId::Replace));
    EXPECT_EQ(dialog.optNO_RENAME->text(), app::LoadMessage(app::MessageId::Keep));
    EXPECT_EQ(dialog.optALL_RENAME->text(), app::LoadMessage(app::MessageId::ReplaceAll));
    EXPECT_EQ(dialog.optALL_NO_RENAME->text(), app::LoadMessage(app::MessageId::KeepAll));
    EXPECT_EQ(dialog.Frame1->title(), app::LoadMessage(app::MessageId::ConfirmationChoice));
    EXPECT_EQ(dialog.cmdOK->text(), "&Ok");
    // The answers lie on their panel inside the frame; nothing overlaps or is cut off.
    const QStringList faults = testsupport::LayoutFaults(
        dialog, {dialog.Label1, dialog.Label2, dialog.Frame1, dialog.optRENAME, dialog.optNO_RENAME,
                 dialog.optALL_RENAME, dialog.optALL_NO_RENAME, dialog.cmdOK});
    EXPECT_TRUE(faults.isEmpty()) << faults.join("; ").toStdString();
}

TEST_F(ConfirmationTest, EachClickSetsTheAnswerAtOnce) {
    frmConfirmation dialog("/x/Thumbnails\\A.bmp");
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const std::pair<QRadioButton*, OverwriteChoice> clicks[] = {
        {dialog.optALL_NO_RENAME, OverwriteChoice::KeepAlways},
        {dialog.optALL_RENAME, OverwriteChoice::OverwriteAlways},
        {dialog.optNO_RENAME, OverwriteChoice::KeepOnce},
        {dialog.optRENAME, OverwriteChoice::OverwriteOnce},
    };
    for (const auto& [option, choice] : clicks) {
        QTest::mouseClick(option, Qt::LeftButton, {}, QPoint(5, option->height() / 2));
        EXPECT_TRUE(option->isChecked());
        EXPECT_EQ(dialog.answer(), choice);
    }
}

TEST_F(ConfirmationTest, ThePolicyAnswersWhatWasSelectedWhenTheDialogCloses) {
    preview::ConfirmationPolicy policy(nullptr);

    // OK at once: overwrite this once.
    whenOpen([](frmConfirmation& d) {
        EXPECT_EQ(d.Label1->text(), QStringLiteral("Fichier /x/Thumbnails/A.bmp"));
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(policy.AskOverwrite("/x/Thumbnails\\A.bmp"), OverwriteChoice::OverwriteOnce);

    // Never, then keep once, then OK: keep once.
    whenOpen([](frmConfirmation& d) {
        QTest::mouseClick(d.optALL_NO_RENAME, Qt::LeftButton, {}, QPoint(5, 8));
        QTest::mouseClick(d.optNO_RENAME, Qt::LeftButton, {}, QPoint(5, 8));
        QTest::mouseClick(d.cmdOK, Qt::LeftButton);
    });
    EXPECT_EQ(policy.AskOverwrite("/x/Thumbnails\\A.bmp"), OverwriteChoice::KeepOnce);

    // Each opening starts over on the first answer; the close box keeps the selection.
    whenOpen([](frmConfirmation& d) {
        EXPECT_TRUE(d.optRENAME->isChecked());
        QTest::mouseClick(d.optALL_RENAME, Qt::LeftButton, {}, QPoint(5, 8));
        d.close();
    });
    EXPECT_EQ(policy.AskOverwrite("/x/Thumbnails\\A.bmp"), OverwriteChoice::OverwriteAlways);

    // O is OK's access key.
    whenOpen([](frmConfirmation& d) {
        EXPECT_EQ(d.cmdOK->shortcut(), QKeySequence(Qt::ALT | Qt::Key_O));
        d.cmdOK->animateClick();
    });
    EXPECT_EQ(policy.AskOverwrite("/x/Thumbnails\\A.bmp"), OverwriteChoice::OverwriteOnce);
}

} // namespace
