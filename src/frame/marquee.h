#pragma once
#include <QTimer>
#include <QWidget>

// A status bar pane whose text scrolls from right to left, one pixel every 20 milliseconds.
class MarqueeLabel : public QWidget {
    Q_OBJECT
  public:
    explicit MarqueeLabel(QWidget* parent = nullptr);
    void setText(const QString& text);
    QString text() const { return text_; }
    // Moves the text one step, as the timer does.
    void step();
    int offset() const { return offset_; }

  protected:
    void paintEvent(QPaintEvent*) override;

  private:
    QString text_;
    int offset_ = 0;
    QTimer timer_;
};
