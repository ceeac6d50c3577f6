#include "ConverterLines.h"

#include "SceneTangentSpace.h"

#include "runtime/Stopwatch.h"

namespace ra7 {

std::string ConverterLoadedLine(std::int64_t microseconds)
{
    return "--Конвертер: загрузка окончена за " + ElapsedText(microseconds);
}

std::string ConverterConvertedLine(std::int64_t microseconds)
{
    return "--Конвертер: конвертация окончена за " + ElapsedText(microseconds);
}

std::string TangentNothingDoneReason(const TangentSpaceReport& report)
{
    if (report.Computed > 0)
        return {};
    if (!report.InVideoMemory.empty())
        return "Tangent space не посчитан: данные мешей уже в буферах видеокарты (включён USE VBO), "
               "в памяти их нет. Выключите USE VBO в config.txt и загрузите меши снова.";
    if (!report.MenderFailures.empty())
        return "Tangent space не посчитан: NVMeshMender не смог обработать ни одного меша.";
    return "Tangent space не посчитан: в сцене нет геометрии с загруженным мешем.";
}

std::vector<std::string> TangentReportLines(const TangentSpaceReport& report)
{
    std::vector<std::string> lines;
    if (report.Computed == 0)
        lines.push_back("! " + TangentNothingDoneReason(report));
    for (const std::string& name : report.InVideoMemory)
        lines.push_back("! Меш <" + name + "> в буферах видеокарты (USE VBO): tangent space не посчитан");
    for (const std::string& name : report.MenderFailures)
        lines.push_back("! NVMeshMender не смог обработать меш <" + name + ">: tangent space нулевой");
    for (const MeshWriteFailure& failure : report.SaveFailures)
        lines.push_back("! " + MeshWriteFailureLine(failure));
    lines.push_back("- Tangent space посчитан для мешей: " + std::to_string(report.Computed));
    if (report.Saved > 0 || !report.SaveFailures.empty())
        lines.push_back("- Все меши записаны в свои файлы: " + std::to_string(report.Saved) +
                        ", не записано: " + std::to_string(report.SaveFailures.size()));
    return lines;
}

} // namespace ra7
