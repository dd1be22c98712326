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

void addBasicProblems(const DeclarationSnapshot &s, const QDate &today, std::vector<DeclarationProblem> &out)
{
    const QString cer = QStringLiteral("W_cer");
    const bool mismatch = checkCharacterMismatch(s.basic.value(QStringLiteral("W_id")), s.basic.value(cer));
    bool hintListed = false;
    auto listHint = [&] {
        if (mismatch && !hintListed)
            out.push_back({0, cer, basicWords(cer), MsgIdCheckCharacter});
        hintListed = true;
    };
    for (const CheckFailure &failure : basicSaveFailures(s.basic, today)) {
        if (!isIdentityCheck(failure))
            listHint();
        out.push_back({0, failure.focus, failureField(failure), failure.message});
    }
    listHint();

    if (s.file != FileState::Same)
        out.push_back({0, QStringLiteral("Button6"), QStringLiteral("保存"), fileStateMessage(s.file)});
}

void addListProblems(const DeclarationSnapshot &s, std::vector<DeclarationProblem> &out)
{
    for (const RecordListDef &def : recordListDefs()) {
        const int tab = listTab(def.id);
        if (def.id == WorkHistory && s.lists[size_t(def.id)].isEmpty()) {
            const ListField &first = def.fields.front();
            out.push_back({tab, first.control, withoutColon(first.caption), MsgNoWorkHistory});
        }
        if (s.editPending[size_t(def.id)])
            out.push_back({tab, def.addButton, CommitCaption, MsgEditPending});
    }
}

}  // namespace

std::vector<DeclarationProblem> checkDeclaration(const DeclarationSnapshot &snapshot, const QDate &today)
{
    std::vector<DeclarationProblem> problems;
    addBasicProblems(snapshot, today, problems);
    addListProblems(snapshot, problems);
    return problems;
}

}  // namespace varnok
