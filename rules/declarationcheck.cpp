#include "declarationcheck.h"

#include "document/basicfields.h"
#include "document/listdefs.h"
#include "rules/basicchecks.h"
#include "rules/idnumber.h"

namespace varnok {

namespace {

QString withoutColon(QString caption)
{
    if (caption.endsWith(u'：'))
        caption.chop(1);
    return caption;
}

// The education check covers the whole group; name the group.
QString failureField(const CheckFailure &failure)
{
    if (failure.focus == QLatin1String("W_school"))
        return basicGroupCaptions()[BasicField::EducationGroup];
    return basicWords(failure.focus);
}

QString fileStateMessage(FileState state)
{
    switch (state) {
    case FileState::NotSaved:
        return MsgNotSaved;
    case FileState::ChangedElsewhere:
        return MsgChangedElsewhere;
    case FileState::Unreadable:
        return MsgFileUnreadable;
    default:
        return MsgChangesNotSaved;
    }
}

bool isIdentityCheck(const CheckFailure &failure)
{
    return failure.focus == QLatin1String("W_name") || failure.focus == QLatin1String("W_cer");
}

void addBasicProblems(const FieldValues &basic, const QDate &today, std::vector<DeclarationProblem> &out)
{
    const QString cer = QStringLiteral("W_cer");
    const bool mismatch = checkCharacterMismatch(basic.value(QStringLiteral("W_id")), basic.value(cer));
    bool hintListed = false;
    auto listHint = [&] {
        if (mismatch && !hintListed)
            out.push_back({0, cer, basicWords(cer), MsgIdCheckCharacter});
        hintListed = true;
    };
    for (const CheckFailure &failure : basicSaveFailures(basic, today)) {
        if (!isIdentityCheck(failure))
            listHint();
        out.push_back({0, failure.focus, failureField(failure), failure.message});
    }
    listHint();
}

void addListProblems(const std::array<ListRows, ListCount> &lists, std::vector<DeclarationProblem> &out)
{
    const RecordListDef &def = recordListDef(WorkHistory);
    if (lists[size_t(def.id)].isEmpty()) {
        const ListField &first = def.fields.front();
        out.push_back({listTab(def.id), first.control, withoutColon(first.caption), MsgNoWorkHistory});
    }
}

// What only the window can hold: changes not in the file, entries being edited.
std::vector<DeclarationProblem> windowProblems(const DeclarationSnapshot &s)
{
    std::vector<DeclarationProblem> out;
    if (s.file != FileState::Same)
        out.push_back({0, QStringLiteral("Button6"), QStringLiteral("保存"), fileStateMessage(s.file)});
    for (const RecordListDef &def : recordListDefs())
        if (s.editPending[size_t(def.id)])
            out.push_back({listTab(def.id), def.addButton, CommitCaption, MsgEditPending});
    return out;
}

}  // namespace

QString tabCaption(int tab)
{
    if (tab == 0)
        return BasicTabCaption;
    return tab > 0 && tab <= ListCount ? recordListDefs()[size_t(tab - 1)].tabCaption : QString();
}

std::vector<DeclarationProblem> checkContent(const FieldValues &basic, const std::array<ListRows, ListCount> &lists,
                                             const QDate &today)
{
    std::vector<DeclarationProblem> problems;
    addBasicProblems(basic, today, problems);
    addListProblems(lists, problems);
    return problems;
}

std::vector<DeclarationProblem> checkDeclaration(const DeclarationSnapshot &snapshot, const QDate &today)
{
    const std::vector<DeclarationProblem> content = checkContent(snapshot.basic, snapshot.lists, today);
    const std::vector<DeclarationProblem> window = windowProblems(snapshot);
    // Tab by tab: what the declaration holds, then what the window adds.
    std::vector<DeclarationProblem> problems;
    for (int tab = 0; tab <= ListCount; ++tab)
        for (const auto *from : {&content, &window})
            for (const DeclarationProblem &p : *from)
                if (p.tab == tab)
                    problems.push_back(p);
    return problems;
}

}  // namespace varnok
