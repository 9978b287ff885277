// Dialog forms built as Qt windows from their descriptions, with handlers called by name.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/qt_forms.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace nonari {

namespace {

// Widgets that take keys on behalf of a control (a tab strip's bar) carry its name here.
const char* const controlProperty = "nonariControl";
// A list view's column widths as the form gave them; what the rows need is shared out from these.
const char* const formWidthsProperty = "nonariFormWidths";

QString qs(const std::string& text) { return QString::fromStdString(text); }

QString fontFamily(const std::string& face) {
    QString family = qs(face);
    if (family.compare(QStringLiteral("Arial"), Qt::CaseInsensitive) == 0) return QStringLiteral("Liberation Sans");
    return family;
}

// The character code a KeyPress handler sees; 0 for keys that produce no character.
int characterCode(const QKeyEvent* event) {
    if (event->modifiers() & Qt::AltModifier) return 0;  // accelerators
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0;  // focus moves on
    default: break;
    }
    const QList<uint> code = event->text().toUcs4();
    return code.isEmpty() ? 0 : static_cast<int>(code.first());
}

}  // namespace

class QtFormWindow : public QWidget {
public:
    QtFormWindow(QtForms* forms, FormId id, FormLayout description, QWidget* owner)
        : QWidget(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
          forms(forms), id(id), desc(std::move(description)) {
        setWindowModality(Qt::ApplicationModal);
    }

    QtForms* forms;
    FormId id;
    FormLayout desc;
    bool closing = false;
    QButtonGroup* options = nullptr;
    QTabWidget* tabStrip = nullptr;

    bool hasHandler(const std::string& name) const { return desc.handlers.count(name) != 0; }

    void runHandler(const std::string& name, FormEventArgs args) {
        if (closing && name != desc.name + "_Close") return;
        auto it = desc.handlers.find(name);
        if (it == desc.handlers.end() || !it->second) return;
        auto handler = it->second;  // the handler may close this form or open others
        handler(args);
    }

protected:
    // Keys no control took: Enter presses the default button, Escape the cancel button.
    void keyPressEvent(QKeyEvent* event) override {
        const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const bool escape = event->key() == Qt::Key_Escape;
        const std::string& name = enter ? desc.defaultButton : escape ? desc.cancelButton : std::string();
        auto* button = name.empty() ? nullptr : findChild<QPushButton*>(qs(name));
        if (button != nullptr && !closing) {
            button->click();
            return;
        }
        QWidget::keyPressEvent(event);
    }

    void closeEvent(QCloseEvent* event) override {
        if (closing) {
            event->accept();
            return;
        }
        event->ignore();
        forms->closeForm(id);
    }

    // The owner's disabling reaches its child windows too; a form stays usable while it is open.
    void changeEvent(QEvent* event) override {
        if (event->type() == QEvent::EnabledChange && !isEnabled() && !closing)
            QMetaObject::invokeMethod(this, [this] { if (!closing) setEnabled(true); }, Qt::QueuedConnection);
        QWidget::changeEvent(event);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress || closing) return false;
        QVariant control = watched->property(controlProperty);
        if (!control.isValid()) return false;
        const std::string handler = control.toString().toStdString() + "_KeyPress";
        if (!hasHandler(handler)) return false;
        const int code = characterCode(static_cast<QKeyEvent*>(event));
        if (code <= 0) return false;
        runHandler(handler, FormEventArgs{code});
        return true;
    }
};

namespace {

void listenForKeys(QtFormWindow* window, QWidget* widget, const QString& control) {
    widget->setProperty(controlProperty, control);
    widget->installEventFilter(window);
}

QWidget* createControl(QtFormWindow* window, const ControlLayout& control, QWidget* parent) {
    const QString name = qs(control.name);
    const QString caption = qs(control.caption);
    QWidget* widget = nullptr;
    switch (control.kind) {
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText);
        widget = label;
        break;
    }
    case ControlKind::TextBox:
        widget = new QLineEdit(caption, parent);
        break;
    case ControlKind::CommandButton: {
        auto* button = new QPushButton(caption, parent);
        button->setAutoDefault(true);  // Enter presses the focused button
        QObject::connect(button, &QPushButton::clicked, window,
                         [window, click = control.name + "_Click"] { window->runHandler(click, {}); });
        widget = button;
        break;
    }
    case ControlKind::OptionButton: {
        auto* option = new QRadioButton(caption, parent);
        if (!window->options) {
            window->options = new QButtonGroup(window);
            window->options->setExclusive(true);
        }
        window->options->addButton(option);
        QObject::connect(option, &QRadioButton::clicked, window,
                         [window, click = control.name + "_Click"] { window->runHandler(click, {}); });
        widget = option;
        break;
    }
    case ControlKind::ListView: {
        auto* list = new QTreeWidget(parent);
        list->setRootIsDecorated(false);
        list->setItemsExpandable(false);
        list->setUniformRowHeights(true);
        list->setAllColumnsShowFocus(true);
        list->setSelectionBehavior(QAbstractItemView::SelectRows);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setEditTriggers(QAbstractItemView::NoEditTriggers);
        list->header()->setStretchLastSection(false);
        list->header()->setSectionsMovable(false);
        list->setColumnCount(static_cast<int>(control.columns.size()));
        QStringList headers;
        for (const auto& column : control.columns) headers << qs(column.header);
        list->setHeaderLabels(headers);
        QVariantList formWidths;
        for (int i = 0; i < static_cast<int>(control.columns.size()); ++i) {
            list->setColumnWidth(i, control.columns[static_cast<std::size_t>(i)].width);
            formWidths << control.columns[static_cast<std::size_t>(i)].width;
        }
        list->setProperty(formWidthsProperty, formWidths);
        widget = list;
        break;
    }
    case ControlKind::TabStrip: {
        auto* tabs = new QTabWidget(parent);
        for (const auto& tab : control.tabs) {
            auto* page = new QWidget;
            auto* layout = new QVBoxLayout(page);
            layout->setContentsMargins(0, 0, 0, 0);
            tabs->addTab(page, qs(tab));
        }
        listenForKeys(window, tabs->tabBar(), name);
        if (!window->tabStrip) window->tabStrip = tabs;
        widget = tabs;
        break;
    }
    }
    widget->setObjectName(name);
    if (control.fontPoints > 0) {
        QFont font = window->font();
        font.setPointSizeF(control.fontPoints);
        widget->setFont(font);
    }
    // A text longer than its label is wide breaks into lines rather than being cut.
    if (auto* label = qobject_cast<QLabel*>(widget); label && control.width > 0)
        label->setWordWrap(label->fontMetrics().horizontalAdvance(caption) > control.width);
    listenForKeys(window, widget, name);
    return widget;
}

void placeControl(QWidget* widget, const ControlLayout& control) {
    if (control.width > 0 && control.height > 0) {
        widget->setGeometry(control.x, control.y, control.width, control.height);
    } else {
        widget->adjustSize();
        widget->move(control.x, control.y);
    }
}

// Controls of a tab page go onto that page; its list view fills it.
void createPageControl(QtFormWindow* window, const ControlLayout& control) {
    QTabWidget* tabs = window->tabStrip;
    QWidget* page = tabs && control.page <= tabs->count() ? tabs->widget(control.page - 1) : nullptr;
    if (!page) {
        placeControl(createControl(window, control, window), control);
        return;
    }
    QWidget* widget = createControl(window, control, page);
    if (control.kind == ControlKind::ListView)
        page->layout()->addWidget(widget);
    else
        placeControl(widget, control);
}

}  // namespace

QtForms::~QtForms() {
    for (auto& [id, window] : forms) delete window.data();  // no handlers run at teardown
}

QtFormWindow* QtForms::window(FormId form) {
    auto it = forms.find(form);
    if (it == forms.end()) return nullptr;
    return static_cast<QtFormWindow*>(it->second.data());
}

FormId QtForms::loadForm(const FormLayout& desc, int x, int y) {
    const FormId id = ++lastForm;
    auto* form = new QtFormWindow(this, id, desc, owner);
    forms[id] = form;
    form->setWindowTitle(qs(desc.caption));
    QFont font(fontFamily(desc.fontFace));
    font.setPointSizeF(desc.fontPoints > 0 ? desc.fontPoints : 9);
    form->setFont(font);

    for (const auto& control : desc.controls)
        if (control.page <= 0) placeControl(createControl(form, control, form), control);
    for (const auto& control : desc.controls)
        if (control.page > 0) createPageControl(form, control);

    if (desc.width > 0 && desc.height > 0) form->setFixedSize(desc.width, desc.height);
    form->move(x, y);
    form->setEnabled(true);  // created under a disabled owner
    form->show();
    form->activateWindow();
    return id;
}

bool QtForms::formExists(FormId form) { return window(form) != nullptr; }

void QtForms::closeForm(FormId form) {
    QPointer<QtFormWindow> closing = window(form);
    if (!closing) {
        forms.erase(form);
        return;
    }
    if (closing->closing) return;
    closing->closing = true;
    closing->runHandler(closing->desc.name + "_Close", {});
    forms.erase(form);
    if (closing) {
        closing->hide();
        closing->deleteLater();  // a handler of this form may still be on the stack
    }
}

QWidget* QtForms::formWidget(FormId form) { return window(form); }

QWidget* QtForms::controlWidget(FormId form, const std::string& control) {
    QtFormWindow* w = window(form);
    if (!w || control.empty()) return nullptr;
    return w->findChild<QWidget*>(qs(control));
}

void QtForms::setControlText(FormId form, const std::string& control, const std::string& text) {
    QtFormWindow* w = window(form);
    if (!w) return;
    if (control == w->desc.name) {
        w->setWindowTitle(qs(text));
        return;
    }
    QWidget* widget = controlWidget(form, control);
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(qs(text));
    else if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(qs(text));
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(qs(text));
}

std::string QtForms::controlText(FormId form, const std::string& control) {
    QtFormWindow* w = window(form);
    if (!w) return {};
    if (control == w->desc.name) return w->windowTitle().toStdString();
    QWidget* widget = controlWidget(form, control);
    if (auto* label = qobject_cast<QLabel*>(widget)) return label->text().toStdString();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) return edit->text().toStdString();
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) return button->text().toStdString();
    return {};
}

void QtForms::setControlValue(FormId form, const std::string& control, bool value) {
    QtFormWindow* w = window(form);
    auto* button = qobject_cast<QAbstractButton*>(controlWidget(form, control));
    if (!w || !button || !button->isCheckable()) return;
    // An exclusive group refuses to uncheck its checked button.
    const bool regroup = !value && w->options && w->options->exclusive();
    if (regroup) w->options->setExclusive(false);
    button->setChecked(value);
    if (regroup) w->options->setExclusive(true);
}

bool QtForms::controlValue(FormId form, const std::string& control) {
    auto* button = qobject_cast<QAbstractButton*>(controlWidget(form, control));
    return button && button->isChecked();
}

void QtForms::focusControl(FormId form, const std::string& control) {
    if (QWidget* widget = controlWidget(form, control)) widget->setFocus(Qt::OtherFocusReason);
}

namespace {

int neededWidth(const QTreeWidget* list, int column) {
    return static_cast<const QAbstractItemView*>(list)->sizeHintForColumn(column);
}

// The columns share the width the form gave them together. A column too narrow for what it shows takes
// pixels first from columns with room to spare, then from those that need more than it does; so short
// entries (places, dates, times) always read in full, and only the longest text is cut, with an ellipsis.
void fitColumns(QTreeWidget* list) {
    const QVariantList formWidths = list->property(formWidthsProperty).toList();
    const std::size_t count = static_cast<std::size_t>(formWidths.size());
    const int narrowest = list->header()->minimumSectionSize();
    std::vector<int> width, need;
    std::vector<std::size_t> order;  // narrowest need first
    for (std::size_t c = 0; c < count; ++c) {
        width.push_back(formWidths[static_cast<int>(c)].toInt());
        need.push_back(neededWidth(list, static_cast<int>(c)));
        order.push_back(c);
    }
    std::ranges::stable_sort(order, {}, [&](std::size_t c) { return need[c]; });
    auto take = [&](std::size_t from, std::size_t to, int down) {
        const int pixels = std::min(need[to] - width[to], width[from] - down);
        if (pixels > 0) width[from] -= pixels, width[to] += pixels;
    };
    for (std::size_t k = 0; k < count; ++k) {
        const std::size_t c = order[k];
        for (std::size_t donor = 0; donor < count; ++donor)
            if (donor != c) take(donor, c, need[donor]);
        for (std::size_t wider = count; wider-- > k + 1;) take(order[wider], c, narrowest);
    }
    for (std::size_t c = 0; c < count; ++c) list->setColumnWidth(static_cast<int>(c), width[c]);
}

}  // namespace

void QtForms::addListRow(FormId form, const std::string& control, const std::vector<std::string>& cells) {
    auto* list = qobject_cast<QTreeWidget*>(controlWidget(form, control));
    if (!list) return;
    QStringList texts;
    for (const auto& cell : cells) texts << qs(cell);
    auto* item = new QTreeWidgetItem(list, texts);
    for (int c = 0; c < texts.size(); ++c) item->setToolTip(c, texts[c]);  // whatever a narrow column cuts
    fitColumns(list);
}

int QtForms::selectedTab(FormId form, const std::string& control) {
    auto* tabs = qobject_cast<QTabWidget*>(controlWidget(form, control));
    if (!tabs || tabs->count() == 0) return 0;
    return tabs->currentIndex() + 1;
}

void QtForms::selectTab(FormId form, const std::string& control, int tab) {
    auto* tabs = qobject_cast<QTabWidget*>(controlWidget(form, control));
    if (tabs && tab >= 1 && tab <= tabs->count()) tabs->setCurrentIndex(tab - 1);
}

}  // namespace nonari
