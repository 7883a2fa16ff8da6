#include "preview/template_designer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGraphicsRectItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QHBoxLayout>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QUndoCommand>

#include "base/prompter.h"
#include "preview/element_item.h"
#include "preview/label_painter.h"
#include "preview/template_preview.h"
#include "ui/qt_text.h"

namespace vym::preview {
namespace {

constexpr double kUnits = TemplateDesigner::kUnitsPerMm;
constexpr double kGridMm = 1;

class TemplateChange : public QUndoCommand {
  public:
    TemplateChange(TemplateDesigner& designer, LabelTemplate before, int selectedBefore,
                   LabelTemplate after, int selectedAfter, const QString& text)
        : QUndoCommand(text),
          designer_(designer),
          before_(std::move(before)),
          after_(std::move(after)),
          selectedBefore_(selectedBefore),
          selectedAfter_(selectedAfter) {}
    void undo() override { designer_.Apply(before_, selectedBefore_); }
    void redo() override { designer_.Apply(after_, selectedAfter_); }

  private:
    TemplateDesigner& designer_;
    LabelTemplate before_, after_;
    int selectedBefore_, selectedAfter_;
};

QPushButton* Button(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

QDoubleSpinBox* MmBox(const char* name) {
    auto* box = new QDoubleSpinBox;
    box->setObjectName(QLatin1String(name));
    box->setRange(0, 2000);
    box->setDecimals(2);
    box->setSuffix(QStringLiteral(" mm"));
    return box;
}

}  // namespace

TemplateDesigner::TemplateDesigner(QWidget* parent)
    : QDialog(parent), scene_(new QGraphicsScene(this)), view_(new QGraphicsView(scene_)) {
    setObjectName(QStringLiteral("frmDesigner"));
    setWindowTitle(QStringLiteral("Label Designer"));
    view_->setObjectName(QStringLiteral("viewLabel"));
    view_->setBackgroundBrush(QColor(200, 200, 200));
    view_->setDragMode(QGraphicsView::RubberBandDrag);
    view_->installEventFilter(this);
    view_->scale(0.6, 0.6);
    lstFields_ = new QListWidget;
    lstFields_->setObjectName(QStringLiteral("lstFields"));
    connect(lstFields_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { AddElement(ElementKind::Field, item->text()); });
    preview_ = new TemplatePreview;
    auto* side = new QWidget;
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->addWidget(BuildPropertyPanel());
    sideLayout->addWidget(lstFields_, 1);
    sideLayout->addWidget(preview_, 1);
    auto* splitter = new QSplitter;
    splitter->addWidget(view_);
    splitter->addWidget(side);
    splitter->setStretchFactor(0, 3);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("cmdOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cmdCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildToolBar());
    layout->addWidget(splitter, 1);
    layout->addWidget(buttons);
    connect(scene_, &QGraphicsScene::selectionChanged, this, [this] {
        if (!loading_) {
            LoadProperties();
        }
    });
    resize(1000, 640);
    Load(NewTemplate());
}

// The scene deselects its items as it deletes them; the panel must not hear it.
TemplateDesigner::~TemplateDesigner() {
    disconnect(scene_, nullptr, this, nullptr);
    items_.clear();
}

QWidget* TemplateDesigner::BuildToolBar() {
    auto* bar = new QWidget;
    auto* row = new QHBoxLayout(bar);
    row->setContentsMargins(0, 0, 0, 0);
    const struct {
        const char* name;
        const char* caption;
        ElementKind kind;
    } kAdds[] = {{"cmdAddText", "&Text", ElementKind::Text},
                 {"cmdAddField", "&Field", ElementKind::Field},
                 {"cmdAddBarcode", "&Barcode", ElementKind::Barcode},
                 {"cmdAddLine", "&Line", ElementKind::Line},
                 {"cmdAddRect", "&Rectangle", ElementKind::Rect}};
    for (const auto& add : kAdds) {
        QPushButton* button = Button(bar, add.name, QString::fromLatin1(add.caption));
        connect(button, &QPushButton::clicked, this, [this, kind = add.kind] { AddElement(kind); });
        row->addWidget(button);
    }
    QPushButton* picture = Button(bar, "cmdAddImage", QStringLiteral("&Picture..."));
    connect(picture, &QPushButton::clicked, this, &TemplateDesigner::AddImage);
    row->addWidget(picture);
    QPushButton* remove = Button(bar, "cmdDelete", QStringLiteral("&Delete"));
    connect(remove, &QPushButton::clicked, this, &TemplateDesigner::DeleteSelected);
    QPushButton* undo = Button(bar, "cmdUndo", QStringLiteral("&Undo"));
    connect(undo, &QPushButton::clicked, &undo_, &QUndoStack::undo);
    connect(&undo_, &QUndoStack::canUndoChanged, undo, &QPushButton::setEnabled);
    QPushButton* redo = Button(bar, "cmdRedo", QStringLiteral("Re&do"));
    connect(redo, &QPushButton::clicked, &undo_, &QUndoStack::redo);
    connect(&undo_, &QUndoStack::canRedoChanged, redo, &QPushButton::setEnabled);
    undo->setEnabled(false);
    redo->setEnabled(false);
    QPushButton* zoomIn = Button(bar, "cmdZoomIn", QStringLiteral("Zoom &In"));
    connect(zoomIn, &QPushButton::clicked, this, [this] { Zoom(1.25); });
    QPushButton* zoomOut = Button(bar, "cmdZoomOut", QStringLiteral("Zoom &Out"));
    connect(zoomOut, &QPushButton::clicked, this, [this] { Zoom(0.8); });
    chkSnap_ = new QCheckBox(QStringLiteral("&Snap to Grid"));
    chkSnap_->setObjectName(QStringLiteral("chkSnap"));
    chkSnap_->setChecked(true);
    for (QWidget* w : {static_cast<QWidget*>(remove), static_cast<QWidget*>(undo),
                       static_cast<QWidget*>(redo), static_cast<QWidget*>(zoomIn),
                       static_cast<QWidget*>(zoomOut), static_cast<QWidget*>(chkSnap_)}) {
        row->addWidget(w);
    }
    row->addStretch();
    return bar;
}

QWidget* TemplateDesigner::BuildPropertyPanel() {
    auto* panel = new QWidget;
    auto* form = new QFormLayout(panel);
    txtX_ = MmBox("txtX");
    txtY_ = MmBox("txtY");
    txtWidth_ = MmBox("txtWidth");
    txtHeight_ = MmBox("txtHeight");
    txtSize_ = new QDoubleSpinBox;
    txtSize_->setObjectName(QStringLiteral("txtSize"));
    txtSize_->setRange(1, 400);
    txtText_ = new QLineEdit;
    txtText_->setObjectName(QStringLiteral("txtText"));
    txtFormat_ = new QLineEdit;
    txtFormat_->setObjectName(QStringLiteral("txtFormat"));
    cmbField_ = new QComboBox;
    cmbField_->setObjectName(QStringLiteral("cmbField"));
    cmbAlign_ = new QComboBox;
    cmbAlign_->setObjectName(QStringLiteral("cmbAlign"));
    cmbAlign_->addItems(
        {QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")});
    cmbSymbology_ = new QComboBox;
    cmbSymbology_->setObjectName(QStringLiteral("cmbSymbology"));
    cmbSymbology_->addItems({QStringLiteral("Code 128"), QStringLiteral("EAN-13"),
                             QStringLiteral("UPC-A"), QStringLiteral("QR Code"),
                             QStringLiteral("Data Matrix")});
    chkBold_ = new QCheckBox;
    chkBold_->setObjectName(QStringLiteral("chkBold"));
    chkHumanReadable_ = new QCheckBox;
    chkHumanReadable_->setObjectName(QStringLiteral("chkHumanReadable"));
    form->addRow(QStringLiteral("X:"), txtX_);
    form->addRow(QStringLiteral("Y:"), txtY_);
    form->addRow(QStringLiteral("Width:"), txtWidth_);
    form->addRow(QStringLiteral("Height:"), txtHeight_);
    form->addRow(QStringLiteral("Text:"), txtText_);
    form->addRow(QStringLiteral("Field:"), cmbField_);
    form->addRow(QStringLiteral("Format:"), txtFormat_);
    form->addRow(QStringLiteral("Size (pt):"), txtSize_);
    form->addRow(QStringLiteral("Bold:"), chkBold_);
    form->addRow(QStringLiteral("Align:"), cmbAlign_);
    form->addRow(QStringLiteral("Barcode:"), cmbSymbology_);
    form->addRow(QStringLiteral("Show Text:"), chkHumanReadable_);
    for (QDoubleSpinBox* box : {txtX_, txtY_, txtWidth_, txtHeight_, txtSize_}) {
        connect(box, &QDoubleSpinBox::editingFinished, this, &TemplateDesigner::StoreProperties);
    }
    for (QLineEdit* box : {txtText_, txtFormat_}) {
        connect(box, &QLineEdit::editingFinished, this, &TemplateDesigner::StoreProperties);
    }
    for (QComboBox* box : {cmbField_, cmbAlign_, cmbSymbology_}) {
        connect(box, &QComboBox::activated, this, &TemplateDesigner::StoreProperties);
    }
    for (QCheckBox* box : {chkBold_, chkHumanReadable_}) {
        connect(box, &QCheckBox::clicked, this, &TemplateDesigner::StoreProperties);
    }
    return panel;
}

void TemplateDesigner::RegisterFields(const QStringList& fields) {
    fields_ = fields;
    sample_ = SampleRecord(fields);
    lstFields_->clear();
    lstFields_->addItems(fields);
    cmbField_->clear();
    cmbField_->addItems(fields);
    preview_->RegisterFields(fields);
    items_.clear();
    Apply(label_, Selected());
}

void TemplateDesigner::Load(const LabelTemplate& label) {
    undo_.clear();
    items_.clear();
    Apply(label, -1);
}

int TemplateDesigner::Selected() const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i]->isSelected()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void TemplateDesigner::Select(int index) {
    loading_ = true;
    scene_->clearSelection();
    if (index >= 0 && index < static_cast<int>(items_.size())) {
        items_[static_cast<std::size_t>(index)]->setSelected(true);
    }
    loading_ = false;
    LoadProperties();
}

double TemplateDesigner::SnapMm(double mm) const {
    return chkSnap_->isChecked() ? std::round(mm / kGridMm) * kGridMm : std::round(mm * 100) / 100;
}

void TemplateDesigner::Change(const LabelTemplate& after, int selection, const QString& text) {
    if (after == label_) {
        return;
    }
    undo_.push(new TemplateChange(*this, label_, Selected(), after, selection, text));
}

void TemplateDesigner::Apply(const LabelTemplate& label, int selection) {
    label_ = label;
    SyncItems();
    Select(selection);
    preview_->ShowLabel(label_);
}

// Items are kept while the element count stays, so that a move does not
// rebuild a large label's scene.
void TemplateDesigner::SyncItems() {
    loading_ = true;
    if (items_.size() != label_.elements.size()) {
        scene_->clear();
        items_.clear();
        auto* paper = scene_->addRect(0, 0, label_.LabelWidth() * kUnits,
                                      label_.LabelHeight() * kUnits, QPen(Qt::NoPen), Qt::white);
        paper->setZValue(-1);
        for (std::size_t i = 0; i < label_.elements.size(); ++i) {
            auto* item = new ElementItem(*this, sample_);
            scene_->addItem(item);
            items_.push_back(item);
        }
    }
    for (std::size_t i = 0; i < items_.size(); ++i) {
        items_[i]->SetElement(label_.elements[i]);
    }
    scene_->setSceneRect(-5 * kUnits, -5 * kUnits, (label_.LabelWidth() + 10) * kUnits,
                         (label_.LabelHeight() + 10) * kUnits);
    loading_ = false;
}

void TemplateDesigner::CommitGeometry() {
    LabelTemplate after = label_;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        after.elements[i] = items_[i]->Placed();
    }
    Change(after, Selected(), QStringLiteral("Move"));
}

// A picture from a file the user picks, at its own proportions.
void TemplateDesigner::AddImage() {
    const auto path =
        CurrentPrompter().OpenFile("Insert Picture", "Pictures (*.png;*.jpg)|*.png;*.jpg", "");
    if (!path) {
        return;
    }
    QFile file(ui::Q(*path));
    const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    const QImage image = QImage::fromData(bytes);
    if (image.isNull()) {
        MsgBox("The file is not a PNG or JPEG picture: " + *path, kExclamation, "Insert Picture");
        return;
    }
    Element e;
    e.kind = ElementKind::Image;
    e.x = e.y = 2;
    e.height = std::min(20.0, label_.LabelHeight() - 2);
    e.width = std::round(e.height * image.width() / image.height() * 100) / 100;
    e.image = bytes;
    LabelTemplate after = label_;
    after.elements.push_back(e);
    Change(after, static_cast<int>(after.elements.size()) - 1, QStringLiteral("Add"));
}

void TemplateDesigner::AddElement(ElementKind kind, const QString& field) {
    Element e;
    e.kind = kind;
    e.x = e.y = 2;
    e.width = std::min(30.0, label_.LabelWidth() - 2);
    e.height = kind == ElementKind::Barcode ? std::min(12.0, label_.LabelHeight() - 2)
               : kind == ElementKind::Line  ? 0
                                            : 5;
    e.text = kind == ElementKind::Text ? QStringLiteral("Text") : QString();
    e.name = field.isEmpty() && (kind == ElementKind::Field || kind == ElementKind::Barcode) &&
                     !fields_.isEmpty()
                 ? fields_.front()
                 : field;
    LabelTemplate after = label_;
    after.elements.push_back(e);
    Change(after, static_cast<int>(after.elements.size()) - 1, QStringLiteral("Add"));
}

void TemplateDesigner::DeleteSelected() {
    const int index = Selected();
    if (index < 0) {
        return;
    }
    LabelTemplate after = label_;
    after.elements.erase(after.elements.begin() + index);
    Change(after, -1, QStringLiteral("Delete"));
}

// Arrow keys move the selection a grid step (a tenth of a millimetre
// without the grid); with Shift they resize it.
bool TemplateDesigner::NudgeSelected(int key, bool resize) {
    const int index = Selected();
    if (index < 0) {
        return false;
    }
    const double step = chkSnap_->isChecked() ? kGridMm : 0.1;
    const double dx = key == Qt::Key_Left ? -step : key == Qt::Key_Right ? step : 0;
    const double dy = key == Qt::Key_Up ? -step : key == Qt::Key_Down ? step : 0;
    LabelTemplate after = label_;
    Element& e = after.elements[static_cast<std::size_t>(index)];
    auto clamp = [](double v, double high) {
        return std::clamp(std::round(v * 100) / 100, 0.0, high);
    };
    if (resize) {
        e.width = clamp(e.width + dx, 2000);
        e.height = clamp(e.height + dy, 2000);
    } else {
        e.x = clamp(e.x + dx, label_.LabelWidth());
        e.y = clamp(e.y + dy, label_.LabelHeight());
    }
    Change(after, index, resize ? QStringLiteral("Resize") : QStringLiteral("Move"));
    return true;
}

bool TemplateDesigner::eventFilter(QObject* watched, QEvent* event) {
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
            case Qt::Key_Left:
            case Qt::Key_Right:
            case Qt::Key_Up:
            case Qt::Key_Down:
                return NudgeSelected(key->key(), key->modifiers() & Qt::ShiftModifier);
            case Qt::Key_Delete:
                DeleteSelected();
                return true;
            default:
                break;
        }
        if (key->matches(QKeySequence::Undo)) {
            undo_.undo();
            return true;
        }
        if (key->matches(QKeySequence::Redo)) {
            undo_.redo();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TemplateDesigner::LoadProperties() {
    const int index = Selected();
    const Element e = index >= 0 ? label_.elements[static_cast<std::size_t>(index)] : Element();
    loading_ = true;
    txtX_->setValue(e.x);
    txtY_->setValue(e.y);
    txtWidth_->setValue(e.width);
    txtHeight_->setValue(e.height);
    txtSize_->setValue(e.size);
    txtText_->setText(e.text);
    txtFormat_->setText(e.format);
    cmbField_->setCurrentIndex(cmbField_->findText(e.name));
    cmbAlign_->setCurrentIndex(static_cast<int>(e.align));
    cmbSymbology_->setCurrentIndex(static_cast<int>(e.symbology));
    chkBold_->setChecked(e.bold);
    chkHumanReadable_->setChecked(e.humanReadable);
    loading_ = false;
}

void TemplateDesigner::StoreProperties() {
    const int index = Selected();
    if (loading_ || index < 0) {
        return;
    }
    LabelTemplate after = label_;
    Element& e = after.elements[static_cast<std::size_t>(index)];
    e.x = std::min(txtX_->value(), label_.LabelWidth());
    e.y = std::min(txtY_->value(), label_.LabelHeight());
    e.width = txtWidth_->value();
    e.height = txtHeight_->value();
    e.size = txtSize_->value();
    e.text = e.kind == ElementKind::Text ? txtText_->text() : QString();
    e.format = e.kind == ElementKind::Field ? txtFormat_->text() : QString();
    if ((e.kind == ElementKind::Field || e.kind == ElementKind::Barcode) &&
        cmbField_->currentIndex() >= 0) {
        e.name = cmbField_->currentText();
    }
    e.align = static_cast<Align>(cmbAlign_->currentIndex());
    e.symbology = static_cast<Symbology>(cmbSymbology_->currentIndex());
    e.bold = chkBold_->isChecked();
    e.humanReadable = chkHumanReadable_->isChecked();
    Change(after, index, QStringLiteral("Properties"));
}

void TemplateDesigner::Zoom(double factor) {
    view_->scale(factor, factor);
}

}  // namespace vym::preview
