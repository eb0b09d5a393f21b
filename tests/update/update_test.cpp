#include "base/installation.h"
#include "base/settingsstore.h"
#include "definitions/state.h"
#include "tests/support/fakeplatform.h"
#include "tests/update/loopbackserver.h"
#include "install/installer.h"
#include "update/publishing.h"
#include "update/signing.h"
#include "update/updatecheck.h"
#include "install/versionlist.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QSslConfiguration>
#include <QTemporaryDir>
#include <QTest>

using namespace corvane;
using corvane::test::LoopbackServer;

namespace {

using Files = QMap<QString, QByteArray>;   // path under the folder -> contents

struct WebFile {
    QString name, remote, local, version;
    QByteArray bytes;
};

QByteArray Line(const WebFile& f) {
    const FileCheck check{f.bytes.size(), QCryptographicHash::hash(f.bytes, QCryptographicHash::Sha256)};
    return QStringLiteral("0\t%1\t%2\t%3\t%4\t%5").arg(f.name, f.remote, f.local, f.version, FormatFileCheck(check)).toUtf8();
}

QByteArray List(const QList<WebFile>& files) {
    QByteArray list;
    for (const WebFile& f : files) list += Line(f) + "\r\n";
    return list;
}

QString Local(const WebFile& f) {
    return (IsApplicationFolder(f.local) ? QString() : f.local + QLatin1Char('/')) + f.name;
}

// Every file under a folder, by relative path.
Files Snapshot(const QString& root) {
    Files files;
    QDirIterator it(root, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        f.open(QIODevice::ReadOnly);
        files.insert(QDir(root).relativeFilePath(path), f.readAll());
    }
    return files;
}

// The installed files, and the published ones that replace, keep, add and drop them.
const WebFile InstalledA{QStringLiteral("TableA.data"), QStringLiteral("data"), QStringLiteral("opdata"), QStringLiteral("2026.1"), "A, first edition\r\n"};
const WebFile InstalledB{QStringLiteral("TableB.data"), QStringLiteral("data"), QStringLiteral("opdata"), QStringLiteral("2026.1"), "B, first edition\r\n"};
const WebFile InstalledOld{QStringLiteral("Old.data"), QStringLiteral("data"), QStringLiteral("opdata"), QStringLiteral("2026.1"), "withdrawn\r\n"};
const WebFile NewA{QStringLiteral("TableA.data"), QStringLiteral("data"), QStringLiteral("opdata"), QStringLiteral("2026.2"), "A, second edition, longer\r\n"};
const WebFile Added{QStringLiteral("New.data"), QStringLiteral("data"), QStringLiteral("opdata"), QStringLiteral("2026.2"), "new table\r\n"};
const WebFile Notes{QStringLiteral("notes.txt"), QStringLiteral("notes"), QStringLiteral("ReleaseNotes"), QStringLiteral("2026.2"), "What is new in 2026.2\r\n"};

const QList<WebFile> Installed{InstalledA, InstalledB, InstalledOld};
const QList<WebFile> Published{NewA, InstalledB, Added, Notes};

// What the installation holds when the published list is in place, with `keptA` the file
// TableA.data keeps its installed version.
Files Expected(const QByteArray& trusted, bool updated, bool keptA = false) {
    Files files;
    files.insert(QStringLiteral("inst/opdata/trusted.pub"), trusted);
    const QList<WebFile> now = !updated ? Installed : QList<WebFile>{keptA ? InstalledA : NewA, InstalledB, Added, Notes};
    for (const WebFile& f : now) files.insert(QStringLiteral("inst/") + Local(f), f.bytes);
    files.insert(QStringLiteral("inst/opdata/Installed.ver"), List(now));
    return files;
}

} // namespace

class UpdateTest : public QObject {
    Q_OBJECT

    KeyPair m_key = GenerateKeyPair();
    KeyPair m_otherKey = GenerateKeyPair();
    QSslCertificate m_certificate;
    QSslKey m_certificateKey;

    QByteArray Trusted() const { return "# test publisher\n" + EncodeKeyText(m_key.publicKey) + '\n'; }

    // A program folder "inst" inside root, with the installed files and the test's key.
    struct Rig {
        QTemporaryDir root;
        QTemporaryDir home;   // the settings, apart from the installation
        test::FakePlatform platform;
        SettingsStore settings{home.path() + QStringLiteral("/settings.ini")};
        std::unique_ptr<State> s;
        QString folder() const { return root.path() + QStringLiteral("/inst"); }
    };
    std::unique_ptr<Rig> MakeRig(const QString& url, bool withInstalledList = true) {
        auto rig = std::make_unique<Rig>();
        QDir().mkpath(rig->folder() + QStringLiteral("/opdata"));
        Files files = Expected(Trusted(), false);
        if (!withInstalledList) files.remove(QStringLiteral("inst/opdata/Installed.ver"));
        for (auto it = files.cbegin(); it != files.cend(); ++it) {
            QFile f(rig->root.path() + QLatin1Char('/') + it.key());
            f.open(QIODevice::WriteOnly);
            f.write(it.value());
        }
        rig->s = std::make_unique<State>(rig->folder(), rig->platform, rig->settings);
        State& s = *rig->s;
        s.updateFolder = rig->folder() + QStringLiteral("/Updates");
        s.updateUrl = url;
        s.settingsSection = QStringLiteral("Test\\Tundrel\\Settings");
        for (int n : {12, 22, 23, 24, 25}) {
            s.messages[0][n] = QStringLiteral("Update");
            s.messages[1][n] = QStringLiteral("M%1").arg(n);
        }
        for (int n : {0, 3, 13, 70, 71, 72}) s.strings[n] = QStringLiteral("S%1").arg(n);
        rig->platform.allowUnscriptedMessages = true;
        rig->platform.answers = {Box::AnswerYes};
        return rig;
    }

    void Publish(LoopbackServer& server, const QList<WebFile>& files, const QByteArray& list, const KeyPair& signer) {
        for (const WebFile& f : files) server.answers[("/files/" + f.remote + '/' + f.name).toUtf8()].body = f.bytes;
        server.answers["/files/Newest.ver"].body = list;
        server.answers["/files/Newest.ver.sig"].body = SignatureText(list, signer.secretKey);
    }

    static QStringList Texts(const test::FakePlatform& p) {
        QStringList texts;
        for (const auto& m : p.messages) texts << m.text;
        return texts;
    }

    static UpdateOptions Quick() {
        UpdateOptions o;
        o.stallTimeoutMs = 1500;
        o.programFileName = QStringLiteral("walkin-sizer");  // a renamed program
        return o;
    }

  private Q_SLOTS:
    void initTestCase();
    void attackMatrix_data();
    void attackMatrix();
    void overTls_data();
    void overTls();
    void edgeCases_data();
    void edgeCases();
    void readOnlyInstallationIsLeftToItsPackageManager();
    void interruptedUpdateIsFinishedNextTime();
    void publisherSignsOnlyWhatItCanVouchFor();
};

void UpdateTest::initTestCase() {
    // A certificate for 127.0.0.1 that only this test trusts.
    QTemporaryDir dir;
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {QStringLiteral("req"), QStringLiteral("-x509"), QStringLiteral("-newkey"), QStringLiteral("ec"),
                   QStringLiteral("-pkeyopt"), QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes"),
                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1"),
                   QStringLiteral("-addext"), QStringLiteral("subjectAltName=IP:127.0.0.1"), QStringLiteral("-keyout"),
                   dir.filePath(QStringLiteral("key.pem")), QStringLiteral("-out"), dir.filePath(QStringLiteral("cert.pem"))});
    QVERIFY2(openssl.waitForFinished(30000) && openssl.exitCode() == 0, openssl.readAllStandardError().constData());
    QFile cert(dir.filePath(QStringLiteral("cert.pem"))), key(dir.filePath(QStringLiteral("key.pem")));
    QVERIFY(cert.open(QIODevice::ReadOnly) && key.open(QIODevice::ReadOnly));
    m_certificate = QSslCertificate(cert.readAll());
    m_certificateKey = QSslKey(key.readAll(), QSsl::Ec);
    QVERIFY(!m_certificate.isNull() && !m_certificateKey.isNull());
}

void UpdateTest::attackMatrix_data() {
    QTest::addColumn<QString>("attack");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("installation");   // "before", "after", "afterKeepingA"
    QTest::addColumn<QStringList>("messages");
    const auto row = [](const char* name, UpdateResult r, const char* inst, QStringList messages) {
        QTest::newRow(name) << QString::fromLatin1(name) << int(r) << QString::fromLatin1(inst) << messages;
    };
    const QStringList asked{QStringLiteral("M22")};
    row("noServer", UpdateResult::Unreachable, "before", {QStringLiteral("M23")});
    row("list404", UpdateResult::Unreachable, "before", {QStringLiteral("M23")});
    row("list500", UpdateResult::Unreachable, "before", {QStringLiteral("M23")});
    row("listWithoutDate", UpdateResult::Unreachable, "before", {QStringLiteral("M23")});
    row("listTooLarge", UpdateResult::Unreachable, "before", {QStringLiteral("M23")});
    row("listRedirectedToHttp", UpdateResult::Unreachable, "before", {QStringLiteral("M23")});
    row("insecureAddress", UpdateResult::Refused, "before", {QStringLiteral("S72")});
    row("unsignedList", UpdateResult::Refused, "before", {QStringLiteral("S70")});
    row("signedByAnotherKey", UpdateResult::Refused, "before", {QStringLiteral("S70")});
    row("signatureOfAnotherList", UpdateResult::Refused, "before", {QStringLiteral("S70")});
    row("wrongSize", UpdateResult::Abandoned, "before", asked + QStringList{QStringLiteral("S71")});
    row("wrongHash", UpdateResult::Abandoned, "before", asked + QStringList{QStringLiteral("S71")});
    row("cancelInTheMiddle", UpdateResult::Cancelled, "before", asked);
    row("plainUpdate", UpdateResult::Updated, "after", asked);
    row("commentsShortLinesDuplicates", UpdateResult::Updated, "after", asked);
    row("traversalNames", UpdateResult::Updated, "after", asked);
    row("downgrade", UpdateResult::Updated, "afterKeepingA", asked);
    row("file404", UpdateResult::Incomplete, "afterKeepingA", asked + QStringList{QStringLiteral("M24")});
    row("file500", UpdateResult::Incomplete, "afterKeepingA", asked + QStringList{QStringLiteral("M24")});
    row("fileWithoutDate", UpdateResult::Incomplete, "afterKeepingA", asked + QStringList{QStringLiteral("M24")});
    row("truncatedTransfer", UpdateResult::Incomplete, "afterKeepingA", asked + QStringList{QStringLiteral("M24")});
    row("stalledServer", UpdateResult::Incomplete, "afterKeepingA", asked + QStringList{QStringLiteral("M24")});
}

void UpdateTest::attackMatrix() {
    QFETCH(QString, attack);
    QFETCH(int, result);
    QFETCH(QString, installation);
    QFETCH(QStringList, messages);

    LoopbackServer server;
    QVERIFY(server.Start());
    QString url = server.Base();
    QByteArray list = List(Published);
    Publish(server, Published, list, m_key);
    auto& answers = server.answers;
    const QByteArray a = "/files/data/TableA.data";
    if (attack == QLatin1String("noServer")) {
        url = QStringLiteral("http://127.0.0.1:%1/files").arg(server.serverPort());
        server.close();
    } else if (attack == QLatin1String("list404")) {
        answers.remove("/files/Newest.ver");
    } else if (attack == QLatin1String("list500")) {
        answers["/files/Newest.ver"].status = 500;
    } else if (attack == QLatin1String("listWithoutDate")) {
        answers["/files/Newest.ver"].lastModified = "";
    } else if (attack == QLatin1String("listTooLarge")) {
        list += QByteArray(1 << 20, '#');
        Publish(server, Published, list, m_key);
    } else if (attack == QLatin1String("listRedirectedToHttp")) {
        answers["/files/Newest.ver"].kind = LoopbackServer::Answer::Redirect;
        answers["/files/Newest.ver"].status = 302;
        answers["/files/Newest.ver"].location = "http://127.0.0.1:" + QByteArray::number(server.serverPort()) + "/files/Newest.ver.sig";
    } else if (attack == QLatin1String("insecureAddress")) {
        url = QStringLiteral("http://updates.corvane.example/files");
    } else if (attack == QLatin1String("unsignedList")) {
        answers.remove("/files/Newest.ver.sig");
    } else if (attack == QLatin1String("signedByAnotherKey")) {
        Publish(server, Published, list, m_otherKey);
    } else if (attack == QLatin1String("signatureOfAnotherList")) {
        answers["/files/Newest.ver"].body = List({NewA, InstalledB, Added});
    } else if (attack == QLatin1String("wrongSize")) {
        answers[a].body += "!";
    } else if (attack == QLatin1String("wrongHash")) {
        answers[a].body[0] = 'X';
    } else if (attack == QLatin1String("commentsShortLinesDuplicates")) {
        WebFile evil = Added;
        evil.bytes = "not the file the list vouches for";
        answers["/files/evil/New.data"].body = evil.bytes;
        evil.remote = QStringLiteral("evil");
        list = "# published by the test\r\n0\tshort\tdata\topdata\t2026.2\r\n\r\n" + List(Published) + Line(evil) +
               "\r\n0\tlong\tdata\topdata\t2026.2\tx\ty\r\n";
        Publish(server, Published, list, m_key);
    } else if (attack == QLatin1String("traversalNames")) {
        QList<WebFile> hostile;
        for (const char* name : {"../x", "/etc/x", "a/b", "..", "C:x", ".profile"})
            hostile << WebFile{QString::fromLatin1(name), QStringLiteral("data"), QStringLiteral("opdata"), QStringLiteral("2026.2"), "x"};
        hostile << WebFile{QStringLiteral("x"), QStringLiteral("data"), QStringLiteral(".."), QStringLiteral("2026.2"), "x"};
        hostile << WebFile{QStringLiteral("x"), QStringLiteral("data"), QStringLiteral("/tmp"), QStringLiteral("2026.2"), "x"};
        hostile << WebFile{QStringLiteral("x"), QStringLiteral("../.."), QStringLiteral("opdata"), QStringLiteral("2026.2"), "x"};
        list = List(hostile) + List(Published);
        Publish(server, Published, list, m_key);
    } else if (attack == QLatin1String("downgrade")) {
        WebFile older = InstalledA;
        older.version = QStringLiteral("2025.9");
        older.bytes = "A, an edition with a known fault\r\n";
        const QList<WebFile> files{older, InstalledB, Added, Notes};
        Publish(server, files, List(files), m_key);
    } else if (attack == QLatin1String("file404")) {
        answers.remove(a);
    } else if (attack == QLatin1String("file500")) {
        answers[a].status = 500;
    } else if (attack == QLatin1String("fileWithoutDate")) {
        answers[a].lastModified = "";
    } else if (attack == QLatin1String("truncatedTransfer")) {
        answers[a].kind = LoopbackServer::Answer::Truncated;
    } else if (attack == QLatin1String("stalledServer")) {
        answers[a].kind = LoopbackServer::Answer::Stalled;
    }
    auto rig = MakeRig(url);
    if (attack == QLatin1String("cancelInTheMiddle")) rig->platform.cancelAtProgress = 1;

    QCOMPARE(int(UpdateCheck(*rig->s, Quick())), result);

    const bool updated = installation != QLatin1String("before");
    const Files expected = Expected(Trusted(), updated, installation == QLatin1String("afterKeepingA"));
    QCOMPARE(Snapshot(rig->root.path()).keys(), expected.keys());
    QCOMPARE(Snapshot(rig->root.path()), expected);
    QCOMPARE(Texts(rig->platform), messages);
    for (const QByteArray& path : server.requested) QVERIFY2(!path.contains(".."), path.constData());
    if (updated) {
        QCOMPARE(rig->platform.openedDocuments, QStringList{rig->folder() + QStringLiteral("/ReleaseNotes/notes.txt")});
        QCOMPARE(rig->settings.Get(rig->s->settingsSection, QStringLiteral("ReadReleaseNotes")), QStringLiteral("True"));
    }
}

void UpdateTest::overTls_data() {
    QTest::addColumn<bool>("trusted");
    QTest::newRow("certificateTrusted_updates") << true;
    QTest::newRow("certificateUnknown_refused") << false;
}

void UpdateTest::overTls() {
    QFETCH(bool, trusted);
    if (!QSslSocket::supportsSsl()) QFAIL("TLS is not available to Qt");
    const QSslConfiguration before = QSslConfiguration::defaultConfiguration();
    if (trusted) {
        QSslConfiguration withTestAuthority = before;
        withTestAuthority.addCaCertificate(m_certificate);
        QSslConfiguration::setDefaultConfiguration(withTestAuthority);
    }
    LoopbackServer server;
    QVERIFY(server.StartTls(m_certificate, m_certificateKey));
    Publish(server, Published, List(Published), m_key);
    auto rig = MakeRig(server.Base());
    const UpdateResult result = UpdateCheck(*rig->s, Quick());
    QSslConfiguration::setDefaultConfiguration(before);
    QCOMPARE(int(result), int(trusted ? UpdateResult::Updated : UpdateResult::Unreachable));
    QCOMPARE(Snapshot(rig->root.path()), Expected(Trusted(), trusted));
}

void UpdateTest::edgeCases_data() {
    QTest::addColumn<QString>("edge");
    QTest::newRow("identicalLists_upToDateNothingAsked") << QStringLiteral("identical");
    QTest::newRow("noInstalledList_everyFileAdded") << QStringLiteral("noInstalled");
    QTest::newRow("programFile_waitsInUpdateFolder") << QStringLiteral("program");
    QTest::newRow("ownProgramName_waitsInUpdateFolder") << QStringLiteral("ownName");
    QTest::newRow("batchProgram_waitsInUpdateFolder") << QStringLiteral("batchProgram");
    QTest::newRow("windowProgram_waitsInUpdateFolder") << QStringLiteral("windowProgram");
    QTest::newRow("droppedProgramFile_isNeverDeleted") << QStringLiteral("dropProgram");
    QTest::newRow("answerNo_changesNothing") << QStringLiteral("no");
}

void UpdateTest::edgeCases() {
    QFETCH(QString, edge);
    LoopbackServer server;
    QVERIFY(server.Start());
    const QString programName = edge == QLatin1String("ownName")        ? QStringLiteral("walkin-sizer")
                                : edge == QLatin1String("batchProgram")  ? QStringLiteral("corvane")
                                : edge == QLatin1String("windowProgram") ? QStringLiteral("corvane-gui")
                                                                         : QStringLiteral("PROGRAM.EXE");
    const bool programEdge = edge == QLatin1String("program") || edge == QLatin1String("ownName") ||
                             edge == QLatin1String("batchProgram") || edge == QLatin1String("windowProgram");
    const WebFile program{programName,
                          QStringLiteral("bin"), QStringLiteral("APPPATH"), QStringLiteral("2026.2"), "new program"};
    QList<WebFile> published = Published;
    if (edge == QLatin1String("identical")) published = Installed;
    if (programEdge) published << program;
    Publish(server, published, List(published), m_key);
    auto rig = MakeRig(server.Base(), edge != QLatin1String("noInstalled"));
    State& s = *rig->s;
    if (edge == QLatin1String("no")) rig->platform.answers = {Box::AnswerNo};
    WebFile oldProgram = program;
    oldProgram.version = QStringLiteral("2026.1");
    oldProgram.bytes = "running program";
    if (edge == QLatin1String("dropProgram")) {
        QFile list(rig->folder() + QStringLiteral("/opdata/Installed.ver"));
        QVERIFY(list.open(QIODevice::Append));
        list.write(Line(oldProgram) + "\r\n");
        QFile running(rig->folder() + QStringLiteral("/PROGRAM.EXE"));
        QVERIFY(running.open(QIODevice::WriteOnly));
        running.write(oldProgram.bytes);
    }
    const Files before = Snapshot(rig->root.path());

    const UpdateResult result = UpdateCheck(s, Quick());
    const Files after = Snapshot(rig->root.path());
    const QStringList log = s.log.Lines();

    if (edge == QLatin1String("identical")) {
        QCOMPARE(int(result), int(UpdateResult::UpToDate));
        QVERIFY(rig->platform.messages.isEmpty());
        QCOMPARE(after, before);
        for (const WebFile& f : Installed) QVERIFY(log.contains(QStringLiteral("  ") + f.name + QStringLiteral("  up to date")));
    } else if (edge == QLatin1String("noInstalled")) {
        QCOMPARE(int(result), int(UpdateResult::Updated));
        for (const WebFile& f : Published) {
            QVERIFY(log.contains(QStringLiteral("  ") + f.name + QStringLiteral("  file added")));
            QCOMPARE(after.value(QStringLiteral("inst/") + Local(f)), f.bytes);
        }
        QCOMPARE(after.value(QStringLiteral("inst/opdata/Installed.ver")), List(Published));
        QCOMPARE(after.value(QStringLiteral("inst/opdata/Old.data")), InstalledOld.bytes); // never listed: not ours to delete
    } else if (programEdge) {
        QCOMPARE(int(result), int(UpdateResult::Updated));
        QCOMPARE(after.value(QStringLiteral("inst/Updates/") + program.name), program.bytes);
        QVERIFY(!after.contains(QStringLiteral("inst/") + program.name));
        QCOMPARE(s.hintText, QStringLiteral("S3"));
        QVERIFY(log.contains(QStringLiteral("  ") + program.name + QStringLiteral("  file added")));
    } else if (edge == QLatin1String("dropProgram")) {
        QCOMPARE(int(result), int(UpdateResult::Updated));
        QCOMPARE(after.value(QStringLiteral("inst/PROGRAM.EXE")), oldProgram.bytes);
        QVERIFY(after.value(QStringLiteral("inst/opdata/Installed.ver")).contains(Line(oldProgram)));
        QVERIFY(!after.contains(QStringLiteral("inst/opdata/Old.data")));
        QCOMPARE(s.hintText, QStringLiteral("S13"));
    } else if (edge == QLatin1String("no")) {
        QCOMPARE(int(result), int(UpdateResult::Declined));
        QCOMPARE(after, before);
        QVERIFY(log.contains(QStringLiteral("  TableA.data  update to 2026.2")));
        QCOMPARE(server.requested.size(), 2);   // the list and its signature, nothing more
    }
}

void UpdateTest::readOnlyInstallationIsLeftToItsPackageManager() {
    auto rig = MakeRig(QStringLiteral("http://127.0.0.1:9/files"));
    // The package's marker makes the folder the package manager's, also for a user (such as
    // root) whom the file permissions would let write.
    QFile marker(QDir(rig->folder()).filePath(QLatin1String(PackageMarkerName)));
    QVERIFY(marker.open(QIODevice::WriteOnly));
    marker.close();
    const Files before = Snapshot(rig->root.path());
    const UpdateResult result = UpdateCheck(*rig->s, Quick());
    QCOMPARE(int(result), int(UpdateResult::Managed));
    QCOMPARE(Texts(rig->platform), QStringList{QStringLiteral("M12")});
    QCOMPARE(Snapshot(rig->root.path()), before);
}

// The program stopped after the update was committed and one file had moved: the next check
// finishes it before anything else, so the installation ends as the new version.
void UpdateTest::interruptedUpdateIsFinishedNextTime() {
    auto rig = MakeRig(QStringLiteral("http://127.0.0.1:9/files"));
    const QString staging = StagingFolder(rig->s->updateFolder);
    QVERIFY(PrepareStaging(staging));
    InstallPlan plan;
    plan.moves = {{QStringLiteral("file0"), QStringLiteral("opdata/TableA.data")},
                  {QStringLiteral("file2"), QStringLiteral("opdata/New.data")},
                  {QStringLiteral("file3"), QStringLiteral("ReleaseNotes/notes.txt")}};
    plan.deletions = {QStringLiteral("opdata/Old.data")};
    plan.installedList = List({NewA, InstalledB, Added, Notes});
    for (const auto& [staged, bytes] : {std::pair{"file0", NewA.bytes}, {"file2", Added.bytes}, {"file3", Notes.bytes}}) {
        QFile f(staging + QLatin1Char('/') + QLatin1String(staged));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // Committed, and carried out only as far as the first file, as a crash would leave it.
    QCOMPARE(CommitOnly(rig->folder(), staging, plan), QString());
    const QString a = rig->folder() + QStringLiteral("/opdata/TableA.data");
    QVERIFY(QFile::remove(a) && QFile::rename(staging + QStringLiteral("/file0"), a));

    FinishInterruptedUpdate(*rig->s);
    QCOMPARE(Snapshot(rig->root.path()), Expected(Trusted(), true));

    // Downloads that never reached their commit are thrown away: the installation stays.
    QVERIFY(PrepareStaging(staging));
    QFile stray(staging + QStringLiteral("/file0"));
    QVERIFY(stray.open(QIODevice::WriteOnly));
    stray.close();
    FinishInterruptedUpdate(*rig->s);
    QCOMPARE(Snapshot(rig->root.path()), Expected(Trusted(), true));
}

void UpdateTest::publisherSignsOnlyWhatItCanVouchFor() {
    QTemporaryDir dir;
    const QString keyFile = dir.filePath(QStringLiteral("publisher.key"));
    QCOMPARE(WriteKeyFiles(keyFile), QString());
    const QFileDevice::Permissions mode = QFile::permissions(keyFile);
    QVERIFY(mode & QFileDevice::ReadOwner);
    QVERIFY(!(mode & (QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther)));
    QVERIFY(!WriteKeyFiles(keyFile).isEmpty());   // a key is never replaced
    QFile pub(keyFile + QStringLiteral(".pub"));
    QVERIFY(pub.open(QIODevice::ReadOnly));
    const TrustedKeys keys = ReadTrustedKeys(pub.readAll());
    QCOMPARE(keys.keys.size(), 1);

    const QString area = dir.filePath(QStringLiteral("area"));
    QDir().mkpath(area + QStringLiteral("/data"));
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
    };
    write(area + QStringLiteral("/data/TableA.data"), NewA.bytes);
    write(area + QStringLiteral("/Newest.ver"), "# list\n0\tTableA.data\tdata\topdata\t2026.2\t\n0\tgone.data\tdata\topdata\t2026.2\t\n"
                                               "0\t../x\tdata\topdata\t2026.2\t\n");
    const SignResult refused = SignArea(area, keyFile);
    QCOMPARE(refused.problems.size(), 2);
    QVERIFY(refused.problems[0].startsWith(QStringLiteral("Newest.ver:3: ")));
    QVERIFY(refused.problems[1].startsWith(QStringLiteral("Newest.ver:4: ")));
    QVERIFY(!QFile::exists(area + QStringLiteral("/Newest.ver.sig")));

    write(area + QStringLiteral("/Newest.ver"), "# list\n0\tTableA.data\tdata\topdata\t2026.2\t\n");
    const SignResult signedArea = SignArea(area, keyFile);
    QCOMPARE(signedArea.problems, QStringList());
    QFile list(area + QStringLiteral("/Newest.ver")), signature(area + QStringLiteral("/Newest.ver.sig"));
    QVERIFY(list.open(QIODevice::ReadOnly) && signature.open(QIODevice::ReadOnly));
    const QByteArray listBytes = list.readAll();
    QCOMPARE(listBytes, "# list\r\n" + Line(NewA) + "\r\n");
    QVERIFY(ListSignedByOneOf(listBytes, signature.readAll(), keys.keys));
}

QTEST_GUILESS_MAIN(UpdateTest)
#include "update_test.moc"
