#include "document/ui/time_candidate_rows.h"
#include "document/ui/readout.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace lyr::document {

namespace {
const char* const kColumnTitles[4] = {"トータル時間", "サンプリング時間", "サンプリングデータ数", "時間誤差"};
}  // namespace

QGroupBox* TimeCandidateRows::build(QWidget* owner, int rows) {
    auto* table = new QGroupBox(owner);
    auto* grid = new QGridLayout(table);
    for (int c = 0; c < 4; ++c) {
        auto* head = new QLabel(QString::fromUtf8(kColumnTitles[c]), table);
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, c + 1);
    }
    group_ = new QButtonGroup(owner);
    buttons_.assign(static_cast<std::size_t>(rows), nullptr);
    texts_.assign(static_cast<std::size_t>(rows), {});
    for (int r = 0; r < rows; ++r) {
        auto* b = new QRadioButton(QStringLiteral("設定 %1").arg(r + 1), table);
        b->setObjectName(QStringLiteral("candidate%1").arg(r));
        buttons_[static_cast<std::size_t>(r)] = b;
        group_->addButton(b, r);
        grid->addWidget(b, r + 1, 0);
        for (int c = 0; c < 4; ++c) {
            auto* t = new QLineEdit(table);
            t->setReadOnly(true);
            t->setFocusPolicy(Qt::ClickFocus);
            t->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            t->setObjectName(QStringLiteral("candidateText%1%2").arg(r).arg(c));
            ui::makeReadout(t, QStringLiteral("設定 %1 %2").arg(r + 1).arg(QString::fromUtf8(kColumnTitles[c])));
            t->setMinimumWidth(c == 3 ? 150 : 120);
            texts_[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)] = t;
            grid->addWidget(t, r + 1, c + 1);
        }
    }
    return table;
}

// A group of exclusive buttons cannot show "none" while exclusive.
void TimeCandidateRows::setExclusive(bool on) { group_->setExclusive(on); }

void TimeCandidateRows::showRow(int row, const TimeCandidate& c, bool selected) {
    QRadioButton* b = buttons_.at(static_cast<std::size_t>(row));
    b->setEnabled(c.enabled);
    b->setChecked(selected);
    const std::string* texts[4] = {&c.totalText, &c.samplingText, &c.countText, &c.errorText};
    for (int k = 0; k < 4; ++k) {
        QLineEdit* e = text(row, k);
        const QString q = QString::fromStdString(*texts[k]);
        if (e->text() != q) e->setText(q);
    }
}

}  // namespace lyr::document
