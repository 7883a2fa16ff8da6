#pragma once

#include <QDialog>
#include <QStringList>
#include <QUndoStack>
#include <vector>

#include "preview/label_template.h"
#include "preview/print_data.h"

class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGraphicsScene;
class QGraphicsView;
class QLineEdit;
class QListWidget;

namespace vym::preview {

class ElementItem;
class TemplatePreview;

// The label designer: elements are placed on the label, moved and resized
// with the mouse or the arrow keys (Shift resizes), edited in the property
// panel; every change is one undo step.
class TemplateDesigner : public QDialog {
    Q_OBJECT

  public:
    explicit TemplateDesigner(QWidget* parent = nullptr);
    ~TemplateDesigner() override;

    void RegisterFields(const QStringList& fields);
    void Load(const LabelTemplate& label);
    const LabelTemplate& Label() const { return label_; }
    QUndoStack& UndoStack() { return undo_; }
    // The selected element's index, -1 for none.
    int Selected() const;
    void Select(int index);
    // Millimetres a scene unit is worth is 1 / this.
    static constexpr double kUnitsPerMm = 10;

    // Called by the items when the user let go of a drag.
    void CommitGeometry();
    // Replaces the template as one undo step.
    void Change(const LabelTemplate& after, int selection, const QString& text);
    // What an undo step puts back.
    void Apply(const LabelTemplate& label, int selection);
    double SnapMm(double mm) const;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget* BuildToolBar();
    QWidget* BuildPropertyPanel();
    void AddElement(ElementKind kind, const QString& field = QString());
    void AddImage();
    void DeleteSelected();
    bool NudgeSelected(int key, bool resize);
    void SyncItems();
    void LoadProperties();
    void StoreProperties();
    void Zoom(double factor);

    LabelTemplate label_;
    QStringList fields_;
    CPrintData sample_;
    QUndoStack undo_;
    QGraphicsScene* scene_;
    QGraphicsView* view_;
    std::vector<ElementItem*> items_;
    TemplatePreview* preview_;
    QListWidget* lstFields_;
    QCheckBox* chkSnap_;
    QDoubleSpinBox *txtX_, *txtY_, *txtWidth_, *txtHeight_, *txtSize_;
    QLineEdit *txtText_, *txtFormat_;
    QComboBox *cmbField_, *cmbAlign_, *cmbSymbology_;
    QCheckBox *chkBold_, *chkHumanReadable_;
    bool loading_ = false;
};

}  // namespace vym::preview
