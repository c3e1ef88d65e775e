#include "voice_manager/recorder_dialog.h"
#include "platform/ui_text.h"

#include "platform/message_box.h"
#include "sound/audio_capture.h"
#include "sound/take_player.h"
#include "voice/sample_edit.h"
#include "wave/pcm_convert.h"
#include "wave/wave_decoder.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace yomi6 {

namespace {

using namespace std::chrono_literals;

// A take ends by itself after this long: no unit lasts that long.
constexpr auto kLongestTake = 5s;

QPushButton* Button(const char* text, QWidget* parent) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setFocusPolicy(Qt::NoFocus); // Space and Enter belong to the recorder
    button->setAutoDefault(false);
    return button;
}

} // namespace

RecorderDialog::RecorderDialog(const QString& folder, QWidget* parent)
    : QDialog(parent), m_session(folder.toStdString()), m_capture(new AudioCapture(this)),
      m_player(new TakePlayer(this)), m_kana(new QLabel(this)), m_example(new QLabel(this)),
      m_position(new QLabel(this)), m_status(new QLabel(this)), m_level(new QProgressBar(this)),
      m_recordButton(Button("録音 (スペース)", this)), m_playButton(Button("聞く(&P)", this)),
      m_prevButton(Button("← 前へ", this)), m_nextButton(Button("次へ →", this)) {
    setWindowTitle(QString::fromUtf8("声を録音する - ") + folder);
    QFont big = m_kana->font();
    big.setPointSize(72);
    m_kana->setFont(big);
    m_kana->setAlignment(Qt::AlignCenter);
    m_example->setAlignment(Qt::AlignCenter);
    m_position->setAlignment(Qt::AlignCenter);
    m_status->setWordWrap(true);
    m_level->setRange(0, 100);
    m_level->setTextVisible(false);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {m_prevButton, m_recordButton, m_playButton, m_nextButton}) {
        buttons->addWidget(b);
    }
    auto* close = new QDialogButtonBox(QDialogButtonBox::Close, this);
    close->button(QDialogButtonBox::Close)->setText(QString::fromUtf8("閉じる"));
    close->button(QDialogButtonBox::Close)->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_position);
    layout->addWidget(m_kana);
    layout->addWidget(m_example);
    layout->addWidget(m_level);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    layout->addWidget(close);
    resize(460, 380);

    m_limit.setSingleShot(true);
    connect(&m_limit, &QTimer::timeout, this, &RecorderDialog::EndTake);
    connect(m_capture, &AudioCapture::level, this,
            [this](double peak) { m_level->setValue(static_cast<int>(std::lround(peak * 100))); });
    connect(m_recordButton, &QPushButton::clicked, this, &RecorderDialog::ToggleRecording);
    connect(m_playButton, &QPushButton::clicked, this, [this] { m_player->Play(m_take); });
    connect(m_prevButton, &QPushButton::clicked, this, [this] {
        if (m_index > 0) {
            Show(m_index - 1);
        }
    });
    connect(m_nextButton, &QPushButton::clicked, this, [this] {
        if (m_index + 1 < RecordingSession::Count()) {
            Show(m_index + 1);
        }
    });
    connect(close, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

RecorderDialog::~RecorderDialog() {
    // The audio objects go while the dialog is still whole: tearing down a sound stream can
    // let the event loop run, and an event for this window must then find all of it.
    StopSound();
    delete m_player;
    m_player = nullptr;
    delete m_capture;
    m_capture = nullptr;
}

void RecorderDialog::StopSound() {
    m_limit.stop();
    if (m_capture != nullptr && m_capture->IsRecording()) {
        m_capture->Stop();
        m_recordButton->setText(QString::fromUtf8("録音 (スペース)"));
        m_level->setValue(0);
    }
    if (m_player != nullptr) {
        m_player->Stop();
    }
}

void RecorderDialog::done(int result) {
    StopSound();
    QDialog::done(result);
}

bool RecorderDialog::OpenSession() {
    std::string error;
    if (!m_session.Open(error)) {
        ShowMessage(parentWidget(),
                    QString::fromUtf8("声のフォルダを作れません。\n") +
                        QString::fromStdString(error),
                    MessageBoxType::IconExclamation);
        return false;
    }
    const std::size_t first = m_session.FirstMissing();
    Show(first < RecordingSession::Count() ? first : 0);
    return true;
}

bool RecorderDialog::IsRecording() const {
    return m_capture != nullptr && m_capture->IsRecording();
}

qsizetype RecorderDialog::BytesReceived() const {
    return m_capture != nullptr ? m_capture->BytesReceived() : 0;
}

void RecorderDialog::Show(std::size_t index) {
    m_player->Stop();
    m_index = index;
    const VoiceUnit& unit = RecordingSession::Unit(index);
    m_kana->setText(Utf8(unit.kana));
    m_example->setText(unit.example.empty() ? QString()
                                            : QString::fromUtf8("例: ") + Utf8(unit.example));
    m_position->setText(QString::fromUtf8("%1 / %2 (録音済み %3)")
                            .arg(index + 1)
                            .arg(RecordingSession::Count())
                            .arg(m_session.RecordedCount()));
    m_take.clear();
    // A unit recorded before can be listened to at once.
    QFile file(QString::fromStdString(m_session.PathOf(index)));
    if (m_session.IsRecorded(index) && file.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = file.read(16 * 1024 * 1024);
        const WaveDecodeResult r =
            DecodeWave({reinterpret_cast<const unsigned char*>(bytes.constData()),
                        static_cast<std::size_t>(bytes.size())});
        if (r) {
            m_take = ToPlayerPcm(r.wave.mono, r.wave.sampleRate);
        }
    }
    m_status->setText(m_session.IsRecorded(index)
                          ? QString::fromUtf8("録音済みです。スペースで録音し直します。")
                          : QString::fromUtf8("スペースを押して話し、もう一度押して止めます。"));
    m_playButton->setEnabled(!m_take.empty());
}

void RecorderDialog::keyPressEvent(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        return;
    }
    switch (event->key()) {
    case Qt::Key_Space:
        ToggleRecording();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Right:
        if (!IsRecording()) {
            m_nextButton->click();
        }
        return;
    case Qt::Key_Left:
        if (!IsRecording()) {
            m_prevButton->click();
        }
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

void RecorderDialog::ToggleRecording() {
    if (IsRecording()) {
        EndTake();
    } else {
        StartTake();
    }
}

void RecorderDialog::StartTake() {
    m_player->Stop();
    QString error;
    if (!m_capture->Start(&error)) {
        m_status->setText(error);
        return;
    }
    m_limit.start(kLongestTake);
    m_recordButton->setText(QString::fromUtf8("止める (スペース)"));
    m_status->setText(QString::fromUtf8("録音しています..."));
}

void RecorderDialog::EndTake() {
    if (!IsRecording()) {
        return;
    }
    m_limit.stop();
    m_recordButton->setText(QString::fromUtf8("録音 (スペース)"));
    m_level->setValue(0);
    std::vector<std::int16_t> take = TrimSilence(m_capture->Stop(), kOutputSampleRate);
    if (take.empty()) {
        m_status->setText(QString::fromUtf8("声が聞こえませんでした。もう一度どうぞ。"));
        emit takeDone(false);
        return;
    }
    LevelTo(take, kOutputSampleRate, BuiltInVoiceLevel());
    std::string error;
    if (!m_session.Save(m_index, take, kOutputSampleRate, error)) {
        m_status->setText(QString::fromUtf8("保存できませんでした: ") +
                          QString::fromStdString(error));
        emit takeDone(false);
        return;
    }
    m_take = std::move(take);
    m_playButton->setEnabled(true);
    m_position->setText(QString::fromUtf8("%1 / %2 (録音済み %3)")
                            .arg(m_index + 1)
                            .arg(RecordingSession::Count())
                            .arg(m_session.RecordedCount()));
    m_status->setText(QString::fromUtf8("保存しました。Enter で次へ、スペースで録音し直します。"));
    m_player->Play(m_take);
    emit takeDone(true);
}

} // namespace yomi6
