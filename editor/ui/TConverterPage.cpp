#include "ui/TConverterPage.h"

#include "ConversionTargets.h"
#include "ConvertToScene.h"
#include "ConverterLines.h"
#include "EditConvert.h"
#include "WorkProgress.h"
#include "core/ConversionCommands.h"
#include "core/EditorDocument.h"
#include "core/PageRules.h"
#include "runtime/Errors.h"
#include "runtime/Ka7Log.h"
#include "runtime/TextUtil.h"
#include "ui/DialogService.h"
#include "ui/LongWork.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSlider>
#include <QVBoxLayout>

#include <chrono>
#include <filesystem>

namespace ra7::editor {

namespace {

constexpr const char* kModelAlreadyLoaded =
    "Внимание! Модель уже загружена! Отмените конвертацию и попробуйте еще раз";
constexpr const char* kCancelConversionFirst = "Отмените конвертацию!";
// Shown at the mender's button: its run also writes every mesh.
constexpr const char* kMenderSavesAll =
    "NVMeshMender считает tangent space и сразу записывает все меши списка в их файлы";

using Clock = std::chrono::steady_clock;

std::int64_t microsSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
}

QString q(const std::string& text)
{
    return QString::fromStdString(text);
}

std::string joined(const std::vector<std::string>& names, std::size_t most = 8)
{
    std::string text;
    for (std::size_t i = 0; i < names.size() && i < most; ++i)
        text += (i == 0 ? "" : ", ") + names[i];
    if (names.size() > most)
        text += " … (" + std::to_string(names.size()) + ")";
    return text;
}

std::string fileNameOf(const std::string& path)
{
    return std::filesystem::path(path).filename().string();
}

// A slider of the mender's settings: position / 100 is the value.
QSlider* addSlider(QVBoxLayout& layout, QWidget* parent, const char* label, const char* name, int min,
                   int max, int position)
{
    auto* caption = new QLabel(QString::fromUtf8(label), parent);
    auto* value = new QLabel(parent);
    auto* row = new QHBoxLayout;
    row->addWidget(caption, 1);
    row->addWidget(value);
    layout.addLayout(row);
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setRange(min, max);
    auto show = [value](int at) { value->setText(QString::number(at / 100.0, 'f', 2)); };
    QObject::connect(slider, &QSlider::valueChanged, value, show);
    slider->setValue(position);
    show(position);
    layout.addWidget(slider);
    return slider;
}

} // namespace

TConverterPage::TConverterPage(EditorServices& services, QWidget* parent)
    : QWidget(parent), services_(services)
{
    setObjectName(QStringLiteral("ConverterPage"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    outer->addWidget(scroll);
    auto* inner = new QWidget(scroll);
    scroll->setWidget(inner);
    auto* layout = new QVBoxLayout(inner);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);

    status_ = new QLabel(inner);
    status_->setObjectName(QStringLiteral("ConverterStatus"));
    status_->setWordWrap(true);
    layout->addWidget(status_);

    auto button = [&](const char* text, const char* name, auto slot) {
        QPushButton* made = addButton(inner, text, name);
        connect(made, &QPushButton::clicked, this, slot);
        layout->addWidget(made);
        return made;
    };
    button("Загрузить OBJ", "LoadObjButton", &TConverterPage::LoadObjCommand);
    button("Загрузить GMS", "LoadGmsButton", &TConverterPage::LoadGmsCommand);
    scale_ = button("Scale", "ScaleButton", &TConverterPage::ScaleCommand);
    convert_ = button("Конвертировать", "ConvertButton", &TConverterPage::ConvertCommand);
    button("Посчитать tangent space", "TangentButton", [this] { TangentCommand(TangentMethod::Gradients); });
    button("Посчитать tangent space2", "Tangent2Button", [this] { TangentCommand(TangentMethod::IsoLines); });
    menderButton_ =
        button("NVMeshMender", "MenderButton", [this] { TangentCommand(TangentMethod::MeshMender); });
    layout->addWidget(buildMenderBox(inner));
    button("Сохранить в KGF", "SaveKgfButton", &TConverterPage::SaveKgfCommand);
    cancel_ =
        button("Отменить конвертацию", "CancelConversionButton", &TConverterPage::CancelConversionCommand);
    layout->addStretch();
    updateControls();
}

TConverterPage::~TConverterPage()
{
    // Shut-down with a model held: released as its cancel command does.
    if (document_)
        CancelConversionCommand();
}

QPushButton* TConverterPage::addButton(QWidget* parent, const char* text, const char* name)
{
    auto* made = new QPushButton(QString::fromUtf8(text), parent);
    made->setObjectName(QString::fromLatin1(name));
    return made;
}

QWidget* TConverterPage::buildMenderBox(QWidget* parent)
{
    auto* box = new QGroupBox(QStringLiteral("NVMeshMender"), parent);
    box->setObjectName(QStringLiteral("MenderSettings"));
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(1);
    menderNote_ = new QLabel(box);
    menderNote_->setObjectName(QStringLiteral("MenderNote"));
    menderNote_->setWordWrap(true);
    layout->addWidget(menderNote_);
    // Crease cosines from −1 to 1; the area weight from 0 (every face alike)
    // to 1 (faces weighed by their area), all in hundredths.
    normalCrease_ = addSlider(*layout, box, "minNormalCreaseCos:", "NormalCreaseSlider", -100, 100, 0);
    areaWeight_ = addSlider(*layout, box, "weightNormalsByArea:", "AreaWeightSlider", 0, 100, 100);
    tangentCrease_ =
        addSlider(*layout, box, "minTangentsCreaseCosAngle:", "TangentCreaseSlider", -100, 100, 0);
    binormalCrease_ =
        addSlider(*layout, box, "minBinormalsCreaseCosAngle:", "BinormalCreaseSlider", -100, 100, 0);
    auto check = [&](const char* text, const char* name, bool on) {
        auto* made = new QCheckBox(QString::fromLatin1(text), box);
        made->setObjectName(QString::fromLatin1(name));
        made->setChecked(on);
        layout->addWidget(made);
        return made;
    };
    calculateNormals_ = check("CALCULATE_NORMALS", "CalculateNormalsBox", true);
    respectSplits_ = check("RESPECT_SPLITS", "RespectSplitsBox", false);
    fixCylindrical_ = check("FIX_CYLINDRICAL", "FixCylindricalBox", false);
    return box;
}

void TConverterPage::Attach(EditorDocument& document)
{
    document_ = &document;
    // The library is opened once, when the editor starts, and let go when it ends.
    std::string whyNot;
    auto library = MeshMenderLibrary::Open(kMeshMenderFileName, whyNot);
    if (!library)
        LogLine("! " + whyNot);
    UseMeshMender(std::move(library), whyNot);
}

void TConverterPage::UseMeshMender(std::unique_ptr<MeshMenderLibrary> library, const std::string& whyNot)
{
    mender_ = std::move(library);
    menderWhyNot_ = mender_ ? std::string() : whyNot;
    updateControls();
}

void TConverterPage::Refresh()
{
    updateControls();
}

std::optional<std::string> TConverterPage::LeaveRefusal() const
{
    if (state_.ModelLoaded())
        return std::string(kCancelConversionFirst);
    return std::nullopt;
}

MeshMenderOptions TConverterPage::MenderOptions() const
{
    MeshMenderOptions options;
    options.MinNormalCreaseCos = static_cast<float>(normalCrease_->value()) / 100.0f;
    options.WeightNormalsByArea = static_cast<float>(areaWeight_->value()) / 100.0f;
    options.MinTangentCreaseCos = static_cast<float>(tangentCrease_->value()) / 100.0f;
    options.MinBinormalCreaseCos = static_cast<float>(binormalCrease_->value()) / 100.0f;
    options.CalculateNormals = calculateNormals_->isChecked();
    options.RespectSplits = respectSplits_->isChecked();
    options.FixCylindrical = fixCylindrical_->isChecked();
    return options;
}

void TConverterPage::updateControls()
{
    const bool held = state_.ModelLoaded();
    scale_->setEnabled(held);
    convert_->setEnabled(held);
    cancel_->setEnabled(held);
    if (held) {
        const TModel& model = state_.Model();
        status_->setText(QStringLiteral("Модель: %1\nгрупп %2, граней %3, вершин %4")
                             .arg(q(fileNameOf(modelFile_)))
                             .arg(model.GroupCount)
                             .arg(static_cast<qlonglong>(ModelFaceCount(model)))
                             .arg(model.VertexCount));
    } else {
        status_->setText(QStringLiteral("Модель не загружена"));
    }
    menderButton_->setEnabled(mender_ != nullptr);
    const QString note = mender_ ? q(kMenderSavesAll) : q(menderWhyNot_);
    menderButton_->setToolTip(note);
    menderNote_->setText(note);
}

void TConverterPage::fail(const std::string& text)
{
    LogLine("! " + text);
    services_.dialogs.ShowError(text);
}

bool TConverterPage::runWork(const QString& title, const std::function<void(WorkProgress&)>& work)
{
    return RunPageWork(this, services_.dialogs, title, onWork, work);
}

void TConverterPage::LoadObjCommand()
{
    if (!document_)
        return;
    if (state_.ModelLoaded()) {
        services_.dialogs.ShowMessage(kModelAlreadyLoaded);
        return;
    }
    const WorkingDirectoryGuard directory;
    const auto chosen = services_.dialogs.AskOpenFile("Загрузить OBJ", "OBJ format (*.obj)");
    if (chosen)
        loadObj(*chosen, directory);
}

void TConverterPage::LoadObjFile(const std::string& path)
{
    if (!document_)
        return;
    if (state_.ModelLoaded()) {
        services_.dialogs.ShowMessage(kModelAlreadyLoaded);
        return;
    }
    loadObj(path, WorkingDirectoryGuard());
}

void TConverterPage::loadObj(const std::string& path, const WorkingDirectoryGuard& directory)
{
    LogLine(kConverterLoadingLine);
    const auto started = Clock::now();
    std::vector<std::string> messages; // the reader's message boxes, shown here on the GUI thread
    TModel model;
    const bool read = runWork(QStringLiteral("Загрузка модели"), [&](WorkProgress& progress) {
        model = LoadOBJ(
            path,
            [&messages](const std::string& caption, const std::string& text) {
                messages.push_back(caption + ": " + text);
            },
            &progress);
    });
    // Every later relative name, and the log, depend on the working directory.
    if (directory.RestoreIfMoved()) {
        LogLine("!!!!!!! ERROR with path");
        LogLine("- рабочая папка восстановлена: " + directory.Remembered().string());
        if (services_.showConsole)
            services_.showConsole();
    }
    if (!read)
        return;
    LogLine(ConverterLoadedLine(microsSince(started)));
    for (const std::string& message : messages) {
        LogLine("! " + message);
        services_.dialogs.ShowMessage(message);
    }
    if (const std::vector<std::string> refusal = ConverterState::Refusal(model); !refusal.empty()) {
        for (const std::string& line : refusal)
            LogLine(line);
        return;
    }
    modelFile_ = path;
    if (services_.makeCurrent)
        services_.makeCurrent();
    state_.Hold(std::move(model));
    updateControls();
}

void TConverterPage::LoadGmsCommand()
{
    if (!document_)
        return;
    const auto chosen = services_.dialogs.AskOpenFile("Загрузить GMS", "GMS format (*.gms)");
    if (!chosen)
        return;
    LogLine(kConverterLoadingLine);
    const auto started = Clock::now();
    std::vector<GmsObject> objects;
    std::string damage;
    const bool read = runWork(QStringLiteral("Загрузка модели"), [&](WorkProgress& progress) {
        try {
            ReadGMS(*chosen, objects, &progress);
        } catch (const FileError& e) {
            damage = e.what(); // the objects read before the damage are added all the same
        }
    });
    if (!read)
        return;
    std::vector<std::string> meshes;
    if (!objects.empty()) {
        try {
            if (services_.makeCurrent)
                services_.makeCurrent();
            auto command = std::make_unique<AddConvertedCommand>(
                "Загрузить GMS " + fileNameOf(*chosen), [&objects] { return AddGmsObjects(objects); });
            AddConvertedCommand& added = *command;
            document_->Execute(std::move(command));
            meshes = added.MeshNames();
        } catch (const std::exception& e) {
            fail(e.what());
            return;
        }
    }
    LogLine(ConverterLoadedLine(microsSince(started)));
    if (!damage.empty())
        fail(damage);
    else if (objects.empty() && meshes.empty())
        LogLine("! В файле " + fileNameOf(*chosen) + " нет объектов trimesh()");
    // GMS meshes have no file yet: "Сохранить все..." writes them under their bare names.
    if (!meshes.empty())
        LogLine("- Меши GMS ещё не записаны; «Сохранить все...» на странице Meshes запишет их в рабочую "
                "папку под именами: " +
                joined(meshes));
}

void TConverterPage::ScaleCommand()
{
    if (!state_.ModelLoaded())
        return;
    const auto answer = services_.dialogs.AskText("Scale", "Масштаб модели:", "1");
    if (!answer)
        return;
    const std::optional<float> factor = ParseScaleAnswer(*answer);
    if (!factor) {
        fail("Масштаб <" + TrimmedName(*answer) + "> не подходит: нужно число больше 0");
        return;
    }
    if (*factor == 1.0f)
        return;
    // The preview's display list is dropped in the view's context.
    if (services_.makeCurrent)
        services_.makeCurrent();
    state_.Scale(*factor);
    LogLine("- Конвертер: модель масштабирована, множитель " + formatSingle(*factor));
}

void TConverterPage::ConvertCommand()
{
    if (!document_ || !state_.ModelLoaded())
        return;
    LogLine(kConverterStartLine);
    const auto chosen = services_.dialogs.AskFolder("Куда сохранять mesh?");
    if (!chosen) {
        LogLine("- Конвертер: папка не выбрана, ничего не сделано");
        return;
    }
    const std::string folder = ConversionFolder(*chosen);
    // Files of the same names would be replaced: the user decides.
    if (const std::vector<std::string> existing = MeshFilesInTheWay(state_.Model(), folder);
        !existing.empty() && !services_.dialogs.Confirm("Файлы мешей уже есть и будут заменены: " +
                                                        joined(existing) + ". Заменить?")) {
        LogLine("- Конвертер: файлы не заменены, ничего не сделано");
        return;
    }
    const auto started = Clock::now();
    PreparedConversion prepared;
    const TModel& model = state_.Model();
    if (!runWork(QStringLiteral("Конвертация"),
                 [&](WorkProgress& progress) { prepared = PrepareOBJConversion(model, folder, &progress); }))
        return;
    try {
        prepared.Files.Commit();
        if (services_.makeCurrent)
            services_.makeCurrent();
        document_->Execute(std::make_unique<AddConvertedCommand>(
            "Конвертация " + fileNameOf(modelFile_), [&] { return AddConvertedModel(model, prepared); }));
    } catch (const std::exception& e) {
        fail(e.what());
        return;
    }
    LogLine(ConverterConvertedLine(microsSince(started)));
    LogLine(kConverterMaySaveLine);
}

void TConverterPage::TangentCommand(TangentMethod method)
{
    if (!document_)
        return;
    if (method == TangentMethod::MeshMender && !mender_) {
        fail(menderWhyNot_);
        return;
    }
    LogLine(kTangentStartLine);
    auto job = std::make_unique<TangentSpaceJob>(PlanTangentSpace(method, mender_.get(), MenderOptions()));
    const bool savesAll = method == TangentMethod::MeshMender;
    if (savesAll)
        LogLine(kMeshesSavingLine);
    if (!runWork(QStringLiteral("Tangent space"),
                 [&](WorkProgress& progress) { ComputeTangentSpace(*job, &progress); }))
        return;
    const TangentSpaceReport report = job->Report;
    try {
        job->Files.Commit();
        if (savesAll)
            LogLine(kMeshesSavedLine);
        if (report.Computed > 0 || !report.MenderFailures.empty())
            document_->Execute(
                std::make_unique<editor::TangentSpaceCommand>("Tangent space", std::move(job)));
    } catch (const std::exception& e) {
        fail(e.what());
        return;
    }
    for (const std::string& line : TangentReportLines(report))
        LogLine(line);
    if (report.Computed > 0)
        LogLine(kTangentDoneLine);
    else
        services_.dialogs.ShowMessage(TangentNothingDoneReason(report));
    if (!report.MenderFailures.empty() || !report.SaveFailures.empty())
        services_.dialogs.ShowError("Не все меши обработаны: NVMeshMender отказался от " +
                                    std::to_string(report.MenderFailures.size()) + ", не записано " +
                                    std::to_string(report.SaveFailures.size()) + ". Подробности в консоли.");
}

void TConverterPage::SaveKgfCommand()
{
    if (services_.saveScene)
        services_.saveScene();
}

void TConverterPage::CancelConversionCommand()
{
    if (!state_.ModelLoaded())
        return;
    if (services_.makeCurrent)
        services_.makeCurrent();
    ReleaseModel();
    LogLine("- Конвертер: модель выгружена");
}

void TConverterPage::ReleaseModel()
{
    state_.Release();
    modelFile_.clear();
    updateControls();
}

void TConverterPage::DrawPreview()
{
    state_.DrawPreview();
}

} // namespace ra7::editor
