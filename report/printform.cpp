#include "report/printform.h"

#include "base/record.h"

#include <QFile>
#include <QFileInfo>
#include <cmath>
#include <optional>

namespace corvane {

namespace {

struct Item {
    enum Kind { Text, Bare, Boolean } kind = Bare;
    QString text;       // a bare item trimmed, a text without its quotes
    bool value = false; // a Boolean
    int line = 0;

    QString Shown() const {
        if (kind == Text) return QLatin1Char('"') + text + QLatin1Char('"');
        if (kind == Boolean) return value ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#");
        return text.isEmpty() ? QStringLiteral("an empty item") : text;
    }
};

bool LineEnd(QChar c) {
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}
bool Blank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

class Tokenizer {
  public:
    Tokenizer(const QString& text, const QString& file, std::vector<FormProblem>& problems)
        : m_text(text), m_file(file), m_problems(problems) {}

    // Splits the whole text; every item consumes at least one character.
    std::vector<Item> Items() {
        std::vector<Item> items;
        bool afterComma = false;
        while (m_i < m_text.size()) {
            const QChar c = m_text[m_i];
            if (Blank(c)) {
                ++m_i;
            } else if (LineEnd(c)) {
                NextLine();
                afterComma = false;
            } else if (c == QLatin1Char(',')) {
                // Two commas on one line hold an empty item between them.
                if (afterComma) items.push_back(Item{Item::Bare, QString(), false, m_line});
                afterComma = true;
                ++m_i;
            } else {
                items.push_back(c == QLatin1Char('"') ? Quoted() : Bare());
                afterComma = false;
            }
        }
        return items;
    }

  private:
    void NextLine() {
        if (m_text[m_i] == QLatin1Char('\r') && m_i + 1 < m_text.size() &&
            m_text[m_i + 1] == QLatin1Char('\n'))
            ++m_i;
        ++m_i;
        ++m_line;
    }

    Item Quoted() {
        Item item{Item::Text, QString(), false, m_line};
        const qsizetype start = ++m_i;
        while (m_i < m_text.size() && m_text[m_i] != QLatin1Char('"') && !LineEnd(m_text[m_i]))
            ++m_i;
        item.text = m_text.mid(start, m_i - start);
        if (m_i >= m_text.size() || m_text[m_i] != QLatin1Char('"')) {
            m_problems.push_back({m_file, m_line, QStringLiteral("the quote is never closed")});
            return item;
        }
        ++m_i;
        // Anything between the closing quote and the next separator is not part of the item.
        bool ignored = false;
        while (m_i < m_text.size() && m_text[m_i] != QLatin1Char(',') && !LineEnd(m_text[m_i])) {
            ignored = ignored || !Blank(m_text[m_i]);
            ++m_i;
        }
        if (ignored)
            m_problems.push_back({m_file, m_line, QStringLiteral("text after the closing quote is ignored")});
        return item;
    }

    Item Bare() {
        Item item{Item::Bare, QString(), false, m_line};
        const qsizetype start = m_i;
        while (m_i < m_text.size() && m_text[m_i] != QLatin1Char(',') && !LineEnd(m_text[m_i]))
            ++m_i;
        item.text = m_text.mid(start, m_i - start).trimmed();
        const QString upper = item.text.toUpper();
        if (upper == QLatin1String("#TRUE#") || upper == QLatin1String("#FALSE#")) {
            item.kind = Item::Boolean;
            item.value = upper == QLatin1String("#TRUE#");
        }
        return item;
    }

    const QString& m_text;
    const QString& m_file;
    std::vector<FormProblem>& m_problems;
    qsizetype m_i = 0;
    int m_line = 1;
};

enum class Command { None, Shape, Picture, Text, RightText, WrappedText };

Command CommandOf(const Item& item) {
    if (item.kind == Item::Boolean) return Command::None;
    const QString w = item.text.trimmed().toUpper();
    if (w == QLatin1String("SHAPE")) return Command::Shape;
    if (w == QLatin1String("PICTURE")) return Command::Picture;
    if (w == QLatin1String("TEXT")) return Command::Text;
    if (w == QLatin1String("RTEXT")) return Command::RightText;
    if (w == QLatin1String("MTEXT")) return Command::WrappedText;
    return Command::None;
}

int ArgumentCount(Command c) {
    switch (c) {
    case Command::Shape:
        return 9;
    case Command::Picture:
        return 7;
    case Command::Text:
    case Command::RightText:
        return 9;
    case Command::WrappedText:
        return 11;
    case Command::None:
        return 0;
    }
    return 0;
}

QString CommandName(Command c) {
    switch (c) {
    case Command::Shape:
        return QStringLiteral("SHAPE");
    case Command::Picture:
        return QStringLiteral("PICTURE");
    case Command::Text:
        return QStringLiteral("TEXT");
    case Command::RightText:
        return QStringLiteral("RTEXT");
    case Command::WrappedText:
        return QStringLiteral("MTEXT");
    case Command::None:
        break;
    }
    return QString();
}

// The typed reading of one command's arguments. The first unusable argument is remembered and
// the command is skipped.
class Arguments {
  public:
    explicit Arguments(std::vector<Item> items) : m_items(std::move(items)) {}

    QString error;
    bool Ok() const { return error.isEmpty(); }

    QString Text(const char* what) {
        const Item* item = Take(what);
        if (!item) return QString();
        if (item->kind == Item::Boolean) Fail(what, *item, "is not a text");
        return item->text;
    }

    // An argument that is read but not used: only its presence counts.
    void Skip(const char* what) { Take(what); }

    std::optional<double> Real(const char* what, double low, double high) {
        const Item* item = Take(what);
        if (!item) return std::nullopt;
        bool ok = item->kind != Item::Boolean;
        double v = 0;
        if (ok) {
            const QString t = item->text.trimmed();
            if (t.startsWith(QLatin1String("&H"), Qt::CaseInsensitive)) {
                // Colours are often written in hexadecimal, as &HBBGGRR.
                const qlonglong hex = t.mid(2).toLongLong(&ok, 16);
                v = static_cast<double>(hex);
            } else {
                v = t.toDouble(&ok);
            }
        }
        if (!ok || !std::isfinite(v)) {
            Fail(what, *item, "is not a number");
            return std::nullopt;
        }
        if (v < low || v > high) {
            Fail(what, *item, QStringLiteral("is outside %1 to %2").arg(low, 0, 'f', 0).arg(high, 0, 'f', 0));
            return std::nullopt;
        }
        return v;
    }

    int Whole(const char* what, int low = -MaxFormCoordinate, int high = MaxFormCoordinate) {
        const std::optional<double> v = Real(what, low, high);
        return v ? static_cast<int>(std::lround(*v)) : 0;
    }

    int Colour(const char* what) { return Whole(what, 0, 0xFFFFFF); }

    bool Boolean(const char* what) {
        const Item* item = Take(what);
        if (!item) return false;
        if (item->kind == Item::Boolean) return item->value;
        // Older forms wrote the words or the numbers of the language the program came from.
        const QString t = item->text.trimmed().toUpper();
        if (t == QLatin1String("TRUE") || t == QLatin1String("-1") || t == QLatin1String("1")) return true;
        if (t == QLatin1String("FALSE") || t == QLatin1String("0")) return false;
        Fail(what, *item, "is not #TRUE# or #FALSE#");
        return false;
    }

  private:
    const Item* Take(const char* what) {
        if (!Ok()) return nullptr;
        if (m_next >= m_items.size()) {
            error = QStringLiteral("the %1 is missing").arg(QLatin1String(what));
            return nullptr;
        }
        return &m_items[m_next++];
    }
    void Fail(const char* what, const Item& item, const QString& why) {
        if (Ok()) error = QStringLiteral("the %1 %2 %3").arg(QLatin1String(what), item.Shown(), why);
    }
    void Fail(const char* what, const Item& item, const char* why) { Fail(what, item, QLatin1String(why)); }

    std::vector<Item> m_items;
    size_t m_next = 0;
};

std::optional<ShapeKind> ShapeOf(const QString& word) {
    const QString w = word.trimmed().toUpper();
    if (w == QLatin1String("RECTANGLE")) return ShapeKind::Rectangle;
    if (w == QLatin1String("SQUARE")) return ShapeKind::Square;
    if (w == QLatin1String("OVAL")) return ShapeKind::Oval;
    if (w == QLatin1String("CIRCLE")) return ShapeKind::Circle;
    if (w == QLatin1String("LINE")) return ShapeKind::Line;
    return std::nullopt;
}

std::optional<FormStep> Shape(Arguments& args) {
    ShapeStep s;
    const QString kind = args.Text("shape kind");
    const std::optional<ShapeKind> k = ShapeOf(kind);
    if (args.Ok() && !k) {
        args.error =
            QStringLiteral("the shape \"%1\" is not RECTANGLE, SQUARE, OVAL, CIRCLE or LINE").arg(kind);
        return std::nullopt;
    }
    s.kind = k.value_or(ShapeKind::Rectangle);
    s.a = args.Whole("left");
    s.b = args.Whole("top");
    // Boxes have a size; a line has an end point.
    const bool line = s.kind == ShapeKind::Line;
    s.c = line ? args.Whole("end x") : args.Whole("width", 0);
    s.d = line ? args.Whole("end y") : args.Whole("height", 0);
    s.fillStyle = args.Whole("fill style", 0, 7);
    s.fillColour = args.Colour("fill colour");
    s.lineColour = args.Colour("line colour");
    s.lineWidth = args.Whole("line width", 1, 100);
    if (!args.Ok()) return std::nullopt;
    return FormStep{0, s};
}

std::optional<FormStep> Picture(Arguments& args) {
    PictureStep p;
    const QString name = args.Text("picture name").trimmed().toUpper();
    if (args.Ok() && name != QLatin1String("PRINTLOGO") && name != QLatin1String("GEOMETRY")) {
        args.error = QStringLiteral("the picture \"%1\" is not PRINTLOGO or GEOMETRY").arg(name);
        return std::nullopt;
    }
    p.name = name == QLatin1String("GEOMETRY") ? PictureName::Geometry : PictureName::PrintLogo;
    args.Skip("first picture value");
    args.Skip("second picture value");
    p.x = args.Whole("left");
    p.y = args.Whole("top");
    p.width = args.Whole("width", 0);
    p.height = args.Whole("height", 0);
    if (!args.Ok()) return std::nullopt;
    return FormStep{0, p};
}

std::optional<FormStep> Text(Arguments& args, Command command) {
    TextStep t;
    t.kind = command == Command::WrappedText ? TextKind::Wrapped
             : command == Command::RightText ? TextKind::RightAligned
                                             : TextKind::Line;
    t.font = args.Text("font name").trimmed();
    t.x = args.Whole("left");
    t.y = args.Whole("top");
    if (t.kind == TextKind::Wrapped) {
        t.width = args.Whole("width", 0);
        t.height = args.Whole("height", 0);
    }
    t.code = args.Text("field code");
    t.bold = args.Boolean("bold flag");
    t.italic = args.Boolean("italic flag");
    t.size = args.Real("font size", 1, 500).value_or(10);
    t.underline = args.Boolean("underline flag");
    t.colour = args.Colour("colour");
    if (!args.Ok()) return std::nullopt;
    return FormStep{0, t};
}

} // namespace

PrintForm ReadPrintForm(QByteArrayView bytes, const QString& fileName) {
    PrintForm form;
    form.file = fileName;
    if (bytes.size() > MaxPrintFormBytes) {
        form.problems.push_back(
            {fileName, 0, QStringLiteral("the file is larger than %1 bytes").arg(MaxPrintFormBytes)});
        return form;
    }
    const QString text = FromCp1252(bytes);
    const std::vector<Item> items = Tokenizer(text, fileName, form.problems).Items();

    if (items.size() < 3) {
        form.problems.push_back(
            {fileName, 0, QStringLiteral("the header (name, page width, page height) is incomplete")});
        return form;
    }
    {
        Arguments header(std::vector<Item>(items.begin() + 1, items.begin() + 3));
        form.name = items[0].text;
        form.width = header.Whole("page width", 1);
        form.height = header.Whole("page height", 1);
        if (!header.Ok()) {
            form.problems.push_back({fileName, items[1].line, QStringLiteral("header: ") + header.error});
            return form;
        }
    }
    form.usable = true;

    size_t i = 3;
    while (i < items.size()) {
        const Item& word = items[i++];
        const Command command = CommandOf(word);
        if (command == Command::None) continue;
        // The arguments run to the count the command takes, but never over the next command
        // word: a command cut short must not swallow the one after it.
        std::vector<Item> given;
        const size_t wanted = static_cast<size_t>(ArgumentCount(command));
        while (given.size() < wanted && i < items.size() && CommandOf(items[i]) == Command::None)
            given.push_back(items[i++]);
        Arguments args(std::move(given));
        std::optional<FormStep> step;
        switch (command) {
        case Command::Shape:
            step = Shape(args);
            break;
        case Command::Picture:
            step = Picture(args);
            break;
        default:
            step = Text(args, command);
            break;
        }
        if (!step) {
            form.problems.push_back({fileName, word.line,
                                     CommandName(command) + QStringLiteral(": ") + args.error +
                                         QStringLiteral("; the command is skipped")});
            continue;
        }
        step->line = word.line;
        form.steps.push_back(std::move(*step));
    }
    return form;
}

PrintForm ReadPrintFormFile(const QString& path) {
    PrintForm form;
    form.file = path;
    const QFileInfo info(path);
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly)) {
        form.problems.push_back({path, 0, QStringLiteral("the print form cannot be opened")});
        return form;
    }
    if (file.size() > MaxPrintFormBytes) {
        form.problems.push_back(
            {path, 0, QStringLiteral("the file is larger than %1 bytes").arg(MaxPrintFormBytes)});
        return form;
    }
    const QByteArray bytes = file.read(MaxPrintFormBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        form.problems.push_back(
            {path, 0, QStringLiteral("the print form cannot be read: ") + file.errorString()});
        return form;
    }
    return ReadPrintForm(bytes, path);
}

} // namespace corvane
