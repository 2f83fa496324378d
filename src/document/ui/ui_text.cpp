#include "document/ui/ui_text.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStringList>
#include <QTabWidget>
#include <QTranslator>
#include <QWidget>
#include <vector>

namespace lyr::ui {

namespace {

const QTranslator* g_catalogue = nullptr;
constexpr const char* kContext = "LYR";
// The catalogue's entry that lists, one a line, the entries whose %1 .. %9
// stand for any text (a file name, a field's name), not only for numbers.
constexpr const char* kPatternList = "LYR:patterns";

struct Pattern {
    QRegularExpression match;
    QString key;
};
std::vector<Pattern> g_patterns;

void readPatterns() {
    g_patterns.clear();
    if (!g_catalogue) return;
    const QString list = g_catalogue->translate(kContext, kPatternList);
    static const QRegularExpression placeholder(QStringLiteral("%[1-9]"));
    for (const QString& key : list.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        QString re;
        qsizetype last = 0;
        for (auto it = placeholder.globalMatch(key); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            re += QRegularExpression::escape(key.mid(last, m.capturedStart() - last)) + QStringLiteral("(.+?)");
            last = m.capturedEnd();
        }
        re += QRegularExpression::escape(key.mid(last));
        g_patterns.push_back({QRegularExpression(QRegularExpression::anchoredPattern(re),
                                                 QRegularExpression::DotMatchesEverythingOption),
                              key});
    }
}

QString lookup(const QString& text) {
    const QByteArray key = text.toUtf8();
    return g_catalogue->translate(kContext, key.constData());
}

// The entry's %1 .. %9 replaced by the numbers taken from the shown text.
QString putBack(const QString& entry, const QStringList& numbers) {
    QString out;
    out.reserve(entry.size() + 16);
    for (qsizetype i = 0; i < entry.size(); ++i) {
        const QChar c = entry.at(i);
        if (c == QLatin1Char('%') && i + 1 < entry.size() && entry.at(i + 1).isDigit()) {
            const int n = entry.at(i + 1).digitValue();
            if (n >= 1 && n <= numbers.size()) {
                out += numbers.at(n - 1);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

QString translateWithNumbers(const QString& text) {
    static const QRegularExpression number(QStringLiteral("\\d+(?:\\.\\d+)?"));
    QStringList numbers;
    QString key;
    qsizetype last = 0;
    for (auto it = number.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        key += text.mid(last, m.capturedStart() - last);
        numbers << m.captured();
        key += QLatin1Char('%') + QString::number(numbers.size());
        last = m.capturedEnd();
    }
    if (numbers.isEmpty() || numbers.size() > 9) return {};
    key += text.mid(last);
    const QString entry = lookup(key);
    return entry.isEmpty() ? QString() : putBack(entry, numbers);
}

// A pattern's %n stand for the texts in the order the pattern holds them.
QString translateWithPattern(const QString& text) {
    for (const Pattern& p : g_patterns) {
        const QRegularExpressionMatch m = p.match.match(text);
        if (!m.hasMatch()) continue;
        QStringList parts;
        for (int i = 1; i <= m.lastCapturedIndex(); ++i) parts << tr(m.captured(i));
        const QString entry = lookup(p.key);
        if (!entry.isEmpty()) return putBack(entry, parts);
    }
    return {};
}

QString translateLine(const QString& text) {
    QString r = lookup(text);
    if (r.isEmpty()) r = translateWithNumbers(text);
    if (r.isEmpty()) r = translateWithPattern(text);
    return r;
}

void translateActions(const QList<QAction*>& actions) {
    for (QAction* a : actions) {
        if (hasJapanese(a->text())) a->setText(tr(a->text()));
        if (hasJapanese(a->toolTip())) a->setToolTip(tr(a->toolTip()));
        if (hasJapanese(a->statusTip())) a->setStatusTip(tr(a->statusTip()));
    }
}

void translateHeaders(QAbstractItemModel* model, Qt::Orientation orientation, int count) {
    for (int i = 0; i < count; ++i) {
        const QString t = model->headerData(i, orientation, Qt::DisplayRole).toString();
        if (hasJapanese(t)) model->setHeaderData(i, orientation, tr(t), Qt::DisplayRole);
    }
}

void translateOne(QWidget* w) {
    if (hasJapanese(w->windowTitle())) w->setWindowTitle(tr(w->windowTitle()));
    if (hasJapanese(w->toolTip())) w->setToolTip(tr(w->toolTip()));
    if (hasJapanese(w->statusTip())) w->setStatusTip(tr(w->statusTip()));
    if (hasJapanese(w->whatsThis())) w->setWhatsThis(tr(w->whatsThis()));
    if (hasJapanese(w->accessibleName())) w->setAccessibleName(tr(w->accessibleName()));
    if (hasJapanese(w->accessibleDescription())) w->setAccessibleDescription(tr(w->accessibleDescription()));
    if (auto* l = qobject_cast<QLabel*>(w)) {
        if (hasJapanese(l->text())) l->setText(tr(l->text()));
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        if (hasJapanese(b->text())) b->setText(tr(b->text()));
    } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
        if (hasJapanese(g->title())) g->setTitle(tr(g->title()));
    } else if (auto* c = qobject_cast<QComboBox*>(w)) {
        for (int i = 0; i < c->count(); ++i)
            if (hasJapanese(c->itemText(i))) c->setItemText(i, tr(c->itemText(i)));
    } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
        if (hasJapanese(e->placeholderText())) e->setPlaceholderText(tr(e->placeholderText()));
    } else if (auto* t = qobject_cast<QTabWidget*>(w)) {
        for (int i = 0; i < t->count(); ++i)
            if (hasJapanese(t->tabText(i))) t->setTabText(i, tr(t->tabText(i)));
    } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
        if (p->isReadOnly() && hasJapanese(p->toPlainText())) p->setPlainText(tr(p->toPlainText()));
    } else if (auto* m = qobject_cast<QMenu*>(w)) {
        if (hasJapanese(m->title())) m->setTitle(tr(m->title()));
    }
    if (auto* list = qobject_cast<QListWidget*>(w)) {
        for (int i = 0; i < list->count(); ++i)
            if (hasJapanese(list->item(i)->text())) list->item(i)->setText(tr(list->item(i)->text()));
    } else if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->model()) {
        QAbstractItemModel* model = view->model();
        translateHeaders(model, Qt::Horizontal, model->columnCount());
        translateHeaders(model, Qt::Vertical, model->rowCount());
    }
    translateActions(w->actions());
}

class WindowTranslator : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // Polish comes before the window's layout takes its sizes from the texts; Show
        // catches what was set after that.
        const QEvent::Type type = event->type();
        if ((type == QEvent::Polish || type == QEvent::Show) && watched->isWidgetType()) {
            auto* w = static_cast<QWidget*>(watched);
            if (w->isWindow()) translateWidgetTree(w);
        }
        return false;
    }
};

}  // namespace

void setTextCatalogue(const QTranslator* catalogue) {
    g_catalogue = catalogue;
    readPatterns();
}

bool textCatalogueActive() { return g_catalogue != nullptr; }

bool hasJapanese(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x3400 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) ||
            (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

QString tr(const QString& text) {
    if (!g_catalogue || !hasJapanese(text)) return text;
    QString r = translateLine(text);
    if (!r.isEmpty()) return r;
    if (!text.contains(QLatin1Char('\n'))) return text;
    // Line by line; a pattern that spans lines has been tried above.
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (hasJapanese(line))
            if (const QString t = translateLine(line); !t.isEmpty()) line = t;
    return lines.join(QLatin1Char('\n'));
}

QString tr(const std::string& text) { return tr(QString::fromStdString(text)); }

QString tr(const char* text) { return tr(QString::fromUtf8(text)); }

void translateWidgetTree(QWidget* root) {
    if (!g_catalogue || !root) return;
    translateOne(root);
    for (QWidget* w : root->findChildren<QWidget*>()) translateOne(w);
}

QObject* installWindowTranslator(QObject* application) {
    auto* filter = new WindowTranslator(application);
    application->installEventFilter(filter);
    return filter;
}

}  // namespace lyr::ui
