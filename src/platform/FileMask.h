#pragma once
// A list of file-name patterns separated by ";", such as "*.mp3;*.wav".
//
// "*" stands for any run of characters (none included) and "?" for exactly
// one character; everything else stands for itself, ASCII letters without
// regard to case. Names are the file system's bytes; "?" takes a whole
// UTF-8 character where the bytes form one, else a single byte.
#include <QByteArray>
#include <QByteArrayView>

#include <vector>

class FileMask
{
public:
    // The media files the sorter lists: 31 patterns, in this order.
    static constexpr const char *kMedia =
        "*.ivf;*.aif;*.aifc;*.aiff;*.asf;*.asx;*.wax;*.wm;*.wma;*.wmd;*.wmv;*.wvx;"
        "*.wmp;*.wmx;*.avi;*.wav;*.mpeg;*.mpg;*.m1v;*.mp2;*.mpa;*.mpe;*.mpv2;*.mid;"
        "*.midi;*.rmi;*.au;*.snd;*.mp3;*.m3u;*.vob";

    // Formats of today that libmpv plays as well, listed beside the 31
    // patterns unless the settings file says otherwise.
    static constexpr const char *kCurrentMedia =
        "*.mp4;*.m4a;*.m4v;*.mov;*.mkv;*.mka;*.webm;*.flac;*.ogg;*.oga;*.ogv;*.opus;*.aac;*.3gp";

    explicit FileMask(QByteArrayView mask = kMedia);

    const QByteArray &text() const { return m_text; }
    int patternCount() const { return int(m_patterns.size()); }
    QByteArray pattern(int index) const { return m_patterns[size_t(index)].text; }

    // Whether name matches the pattern at index.
    bool matches(int index, QByteArrayView name) const;

    // One pattern against one name, without any preparation.
    static bool matchPattern(QByteArrayView pattern, QByteArrayView name);

private:
    struct Pattern {
        QByteArray text;
        // Set when the pattern is "*" followed by plain characters only.
        bool suffixOnly = false;
        QByteArray suffix;
    };

    QByteArray m_text;
    std::vector<Pattern> m_patterns;
};
