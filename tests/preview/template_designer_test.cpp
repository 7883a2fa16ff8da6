#include "preview/template_designer.h"

#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QGraphicsView>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include "preview/designer.h"
#include "preview/print_job.h"
#include "preview/template_preview.h"
#include "support/core/prompter_script.h"
#include "support/qt/qt_printers.h"
#include "support/qt/scripted_modal_runner.h"
#include "support/server/back_office.h"

namespace vym::preview {
namespace {

const QStringList kFields = {"Stock.Description", "Stock.Stock_Size", "Stock.Unit_Price",
                             "Serial.UPC_Code", "Stock.Stock_Id"};

QByteArray ShelfLabel() {
    test::BackOffice office;
    QString error;
    return ResolveTemplate(office.Db(), 4, QStringLiteral("2.25X1.25"), QString(), &error)->content;
}

QGraphicsView& View(QDialog& dialog) {
    return *dialog.findChild<QGraphicsView*>(QStringLiteral("viewLabel"));
}

// The view point over the middle of element `index`.
QPoint Over(QDialog& dialog, const LabelTemplate& label, int index) {
    const Element& e = label.elements[static_cast<std::size_t>(index)];
    const double k = TemplateDesigner::kUnitsPerMm;
    return View(dialog).mapFromScene(QPointF((e.x + e.width / 2) * k, (e.y + e.height / 2) * k));
}

void Mouse(QWidget* target, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, at, target->mapToGlobal(at),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

TEST(TemplateDesigner, ArrowsMoveAndResizeTheClickedElementTypedValuesStickAndUndoStepsBack) {
    const QByteArray content = ShelfLabel();
    const LabelTemplate before = *ParseTemplate(content, nullptr);
    test::ScriptedModalRunner modals;
    modals.Expect("frmDesigner", [&](QDialog& d) {
        auto& designer = static_cast<TemplateDesigner&>(d);
        d.show();
        QTest::mouseClick(View(d).viewport(), Qt::LeftButton, {}, Over(d, before, 0));
        ASSERT_EQ(designer.Selected(), 0);
        for (int i = 0; i < 3; ++i) {
            QTest::keyClick(&View(d), Qt::Key_Right);
        }
        QTest::keyClick(&View(d), Qt::Key_Down, Qt::ShiftModifier);
        EXPECT_EQ(designer.Label().elements[0].x, 5);
        EXPECT_EQ(designer.Label().elements[0].height, 6);
        QTest::keyClick(&View(d), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(designer.Label().elements[0].height, 5);
        auto* x = d.findChild<QDoubleSpinBox*>(QStringLiteral("txtX"));
        x->setFocus();
        x->selectAll();
        QTest::keyClicks(x, QStringLiteral("12.5"));
        QTest::keyClick(x, Qt::Key_Return);
        // Each arrow and the typed value are steps of their own; the undone resize is gone.
        EXPECT_EQ(designer.UndoStack().count(), 4);
        d.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
    });
    const auto saved = EditTemplate(nullptr, modals, content, kFields);
    modals.Verify();
    ASSERT_TRUE(saved);
    LabelTemplate expected = before;
    expected.elements[0].x = 12.5;
    EXPECT_EQ(ParseTemplate(*saved, nullptr), expected);
}

TEST(TemplateDesigner, DraggingSnapsToTheGridAndUndoRedoReplayIt) {
    const LabelTemplate before = *ParseTemplate(ShelfLabel(), nullptr);
    TemplateDesigner designer;
    designer.RegisterFields(kFields);
    designer.Load(before);
    designer.show();
    QWidget* viewport = View(designer).viewport();
    const QPoint from = Over(designer, before, 3);  // the price
    const QPoint to = from + View(designer).mapFromScene(QPointF(-103, 32)) -
                      View(designer).mapFromScene(QPointF(0, 0));  // 10.3 mm left, 3.2 down
    Mouse(viewport, QEvent::MouseButtonPress, from, Qt::LeftButton);
    Mouse(viewport, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    Mouse(viewport, QEvent::MouseMove, to, Qt::LeftButton);
    Mouse(viewport, QEvent::MouseButtonRelease, to, Qt::NoButton);
    const Element& price = designer.Label().elements[3];
    EXPECT_EQ(QPointF(price.x, price.y), QPointF(18, 9));  // 28 - 10.3 and 6 + 3.2, on whole mm
    EXPECT_EQ(designer.UndoStack().count(), 1);
    designer.UndoStack().undo();
    EXPECT_EQ(designer.Label(), before);
    designer.UndoStack().redo();
    EXPECT_EQ(QPointF(designer.Label().elements[3].x, designer.Label().elements[3].y),
              QPointF(18, 9));
}

TEST(TemplateDesigner, CancelKeepsNothingAndFilesThatAreNoTemplateOrPictureAreRefusedSayingWhy) {
    test::PrompterScript prompts;
    prompts.ExpectMessage("Unknown element <script> in the template.", "Invalid Template",
                          kExclamation);
    test::ScriptedModalRunner modals;
    EXPECT_FALSE(EditTemplate(nullptr, modals,
                              ShelfLabel().replace("text>", "script>").replace("<text", "<script"),
                              kFields));
    modals.ExpectReject("frmDesigner");
    EXPECT_FALSE(EditTemplate(nullptr, modals, ShelfLabel(), kFields));
    modals.Verify();
    prompts.Verify();

    // A picture comes from a file; a file that is no picture is refused by name.
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("logo.png"));
    const QString text = dir.filePath(QStringLiteral("logo.txt"));
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::blue);
    ASSERT_TRUE(logo.save(png));
    QFile(text).open(QIODevice::WriteOnly);
    prompts.ExpectOpenFile(text.toStdString())
        .ExpectMessage("The file is not a PNG or JPEG picture: " + text.toStdString(),
                       "Insert Picture", kExclamation)
        .ExpectOpenFile(png.toStdString());
    TemplateDesigner designer;
    QPushButton* picture = designer.findChild<QPushButton*>(QStringLiteral("cmdAddImage"));
    picture->click();
    EXPECT_TRUE(designer.Label().elements.empty());
    picture->click();
    ASSERT_EQ(designer.Label().elements.size(), 1u);
    const Element& image = designer.Label().elements[0];
    EXPECT_EQ(QSizeF(image.width, image.height), QSizeF(40, 20));  // 2:1 at the 20 mm default
    EXPECT_EQ(QImage::fromData(image.image).pixelColor(0, 0), QColor(Qt::blue));
    prompts.Verify();

    TemplatePreview pane;
    EXPECT_TRUE(pane.ShowTemplate(ShelfLabel()));
    EXPECT_FALSE(pane.ShowTemplate("<label-template version=\"1\"/>"));
    EXPECT_EQ(pane.Problem(), "The template has no <page>.");
}

}  // namespace
}  // namespace vym::preview
