#include "ui/keys.h"
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

bool isEnterKey(const QKeyEvent* k) {
    // The keypad's Enter comes with the keypad modifier; it is Enter all the same.
    return (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) &&
           (k->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

EnterChain* EnterChain::install(const QList<QWidget*>& chain) {
    auto* c = new EnterChain(chain.isEmpty() ? nullptr : chain.first());
    for (QWidget* w : chain) {
        c->chain_.append(w);
        w->installEventFilter(c);
    }
    return c;
}

bool EnterChain::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        if (isEnterKey(k)) {
            // The last box of a chain keeps its own Enter (a remark starts a new line).
            for (int i = 0; i + 1 < chain_.size(); ++i) {
                if (chain_[i] != watched)
                    continue;
                for (int j = i + 1; j < chain_.size(); ++j) {
                    QWidget* next = chain_[j];
                    if (next && next->isEnabled() && next->isVisibleTo(next->window())) {
                        next->setFocus(Qt::TabFocusReason);
                        return true;
                    }
                }
                return true;
            }
        }
    }
    return QObject::eventFilter(watched, e);
}

namespace {
bool isMoneyChar(QChar c) {
    return (c >= u'0' && c <= u'9') || c == u'.' || c == u'-';
}

// Text that reaches a money box by other ways than a key (pasted, dropped, committed by an input
// method) keeps only the characters a key could have typed, as if it had been typed.
class MoneyCharacters : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& text, int& pos) const override {
        QString kept;
        int cursor = pos;
        for (int i = 0; i < text.size(); ++i) {
            if (isMoneyChar(text[i]))
                kept += text[i];
            else if (i < pos)
                --cursor;
        }
        text = kept;
        pos = cursor;
        return Acceptable;
    }
};
} // namespace

void MoneyKeyFilter::install(QWidget* edit) {
    edit->installEventFilter(new MoneyKeyFilter(edit));
    if (auto* line = qobject_cast<QLineEdit*>(edit))
        line->setValidator(new MoneyCharacters(line));
}

bool MoneyKeyFilter::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        auto* k = static_cast<QKeyEvent*>(e);
        const QString t = k->text();
        if (t.size() == 1 && t[0].isPrint() && !(k->modifiers() & Qt::ControlModifier) && !isMoneyChar(t[0]))
            return true;
    }
    return QObject::eventFilter(watched, e);
}

namespace {
class EnterHandler : public QObject {
public:
    EnterHandler(QObject* parent, std::function<void()> h) : QObject(parent), handler_(std::move(h)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() == QEvent::KeyPress) {
            auto* k = static_cast<QKeyEvent*>(e);
            if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
                handler_();
                return true;
            }
        }
        return QObject::eventFilter(watched, e);
    }

private:
    std::function<void()> handler_;
};
} // namespace

void onEnterPressed(QWidget* w, std::function<void()> handler) {
    w->installEventFilter(new EnterHandler(w, std::move(handler)));
}
