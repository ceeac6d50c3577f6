#include "core/ScriptTemplates.h"

namespace ra7::editor {

const std::vector<ScriptTemplateGroup>& ScriptTemplates()
{
    static const std::vector<ScriptTemplateGroup> groups = {
        {"-Общее-",
         "Команды для всех объектов сцены",
         {
             {"0 move obj (0;0;0) t:10", "передвинуть obj на (x;y;z) за t"},
             {"0 rotate obj (0;0;0) t:10", "повернуть obj на (x;y;z) за t"},
             {"0 scale obj (0;0;0) t:10", "отмасштабировать obj на (x;y;z) за t"},
             {"0 attach obj1 obj2", "присоединить к obj1 obj2"},
             {"0 deattach obj", "Отсоединить obj от родителя"},
             {"0 setvisible obj", "Сделать obj видимым"},
             {"0 setinvisible obj", "Сделать obj невидимым"},
         }},
        {"-Системы частиц-",
         "Команды для систем частиц",
         {
             {"0 parsetminmaxlife par (0;0;-1)", "присвоить системе par (min_lifetime;max_lifetime;-1)"},
             {"0 parsetminmaxspeed par (0;0;-1)", "присвоить системе par (min_speed;max_speed;-1)"},
             {"0 parsetminmaxsize par (0;0;-1)", "присвоить системе par (min_size;max_size;-1)"},
             {"0 parsetspread_sizeadd par (0;0;-1)", "присвоить системе par (spread;size_add;-1)"},
             {"0 parsetcolor par (0;0;0)", "присвоить системе par (colorR;colorG;colorB)"},
             {"0 paraddminmaxlife par (0;0;-1) t:10",
              "присвоить системе par (min_lifetime;max_lifetime;-1) за t"},
             {"0 paraddminmaxspeed par (0;0;-1) t:10", "присвоить системе par (min_speed;max_speed;-1) за t"},
             {"0 paraddminmaxsize par (0;0;-1) t:10", "присвоить системе par (min_size;max_size;-1) за t"},
             {"0 paraddspread_sizeadd par (0;0;-1) t:10", "присвоить системе par (spread;size_add;-1) за t"},
             {"0 paraddcolor par (0;0;0) t:10", "присвоить системе par (colorR;colorG;colorB) за t"},
             {"0 parsetvec par (0;0;0)", "присвоить системе par (vecR;vecG;vecB)"},
             {"0 parsettex par texname", "присвоить системе par текстуру texname"},
             {"0 parsetcount par (0;-1;-1)", "перезадать системе par количество частиц (new_count;-1;-1)"},
         }},
    };
    return groups;
}

} // namespace ra7::editor
