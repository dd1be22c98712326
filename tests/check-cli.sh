#!/usr/bin/env bash
# varnok-check as a clerk's script runs it: the lines it prints for a folder
# of declarations, its exit codes, the CSV and the workbook it writes (read
# back with unzip: an xlsx is a zip of XML), and that the folder it checks
# is left exactly as it was.
#   tests/check-cli.sh VARNOK_CHECK SOURCE_DIR [RUNNER]
# RUNNER starts the program (scripts/windows/run-under-wine.sh for the
# Windows build), whose paths then read with backslashes.
set -uo pipefail
program=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
source_dir=$2
runner=${3:-}
command -v unzip >/dev/null || { echo "check-cli: unzip is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
# Output without the CR a Windows program writes before each LF.
check() {
    local status
    ${runner:+"$runner"} "$program" "$@" >out.txt 2>err.txt
    status=$?
    sed -i 's/\r$//' out.txt err.txt
    return $status
}
expect_status() {
    local want=$1
    shift
    check "$@"
    local got=$?
    [ "$got" = "$want" ] || fail "varnok-check $* exited $got, not $want: $(cat out.txt err.txt)"
}
native() { if [ -n "$runner" ]; then sed 's|\([a-z]\)/\([a-z]\)|\1\\\2|g'; else cat; fi; }

mkdir -p staff/sub
cp "$source_dir/tests/data/declaration-expected.xml" staff/a.xml
cp staff/a.xml staff/sub/b.xml
: >staff/empty.xml
echo '<?xml version="1.0"?><svg xmlns="http://www.w3.org/2000/svg"/>' >staff/other.xml
echo 'not checked' >staff/notes.txt
before=$(ls -lR --time-style=full-iso staff | sha256sum)

# One declaration that passes.
expect_status 0 staff/a.xml
diff <(native <<'EOF2'
staff/a.xml  王堃  320106198604120535  通过
共 1 个文件：通过 1 个，有问题 0 个，无法读取 0 个。
EOF2
) out.txt || fail "the lines for one declaration differ"

# A folder: duplicates, an empty file, another program's XML; the tables.
expect_status 1 --csv table.csv --xlsx=table.xlsx staff
diff <(native <<'EOF2'
staff/a.xml  王堃  320106198604120535  1 个问题：基本信息·证件号码：证件号码与 staff/sub/b.xml 重复
staff/empty.xml  —  —  无法读取：文件“staff/empty.xml”第 1 行有错误：Document is empty
staff/other.xml  —  —  无法读取：文件“staff/other.xml”中没有基本信息、学历或任何一条记录，不是本程序的申报资料。
staff/sub/b.xml  王堃  320106198604120535  1 个问题：基本信息·证件号码：证件号码与 staff/a.xml 重复
共 4 个文件：通过 0 个，有问题 2 个，无法读取 2 个。
结果表已保存：table.csv
结果表已保存：table.xlsx
EOF2
) out.txt || fail "the lines for the folder differ"
[ "$(head -c 3 table.csv | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the CSV has no byte-order mark"
diff <(native <<'EOF2'
文件,姓名,证件号码,现任专业技术职务,学历,工作简历,主要业绩,继续教育,信用档案,结果,问题
staff/a.xml,王堃,320106198604120535,工程师,大学本科毕业,5,2,4,1,1,基本信息·证件号码：证件号码与 staff/sub/b.xml 重复
EOF2
) <(tail -c +4 table.csv | tr -d '\r' | head -2) || fail "the CSV's first lines differ"
strings=$(unzip -p table.xlsx xl/sharedStrings.xml) || fail "the workbook is not a zip"
for text in 文件 现任专业技术职务 信用档案 问题 王堃 320106198604120535 无法读取; do
    grep -qF "<t>$text</t>" <<<"$strings" || fail "the workbook lacks “$text”"
done
grep -qF "<t>基本信息·证件号码：证件号码与 $(native <<<staff/sub/b.xml) 重复</t>" <<<"$strings" ||
    fail "the workbook lacks the duplicate number"
# The heading row frozen, the 问题 column's width, five rows, problems marked.
for pattern in '<pane ySplit="1" topLeftCell="A2" activePane="bottomLeft" state="frozen"/>' \
    '<col min="11" max="11" width="80\.[0-9]+"' '<row r="5".*</sheetData>' 'FFFFD7D7'; do
    unzip -p table.xlsx xl/worksheets/sheet1.xml xl/styles.xml | grep -qE "$pattern" || fail "the workbook lacks $pattern"
done
unzip -p table.xlsx xl/worksheets/sheet1.xml | grep -qF '<row r="6"' && fail "the workbook has more than five rows"
[ "$(ls -lR --time-style=full-iso staff | sha256sum)" = "$before" ] || fail "the checked folder changed"

# Usage errors, help, nothing found: the status, and what it says.
mkdir nothing
while IFS='|' read -r status said args; do
    # shellcheck disable=SC2086
    expect_status "$status" $args
    grep -qF -- "$said" out.txt err.txt || fail "varnok-check $args does not say $said"
done <<'EOF2'
2|用法：varnok-check|
2|不认识的选项“--bogus”|--bogus staff
2|--csv 后面缺少文件名|staff --csv
0|退出码|--help
1|没有找到申报资料|nothing
EOF2
# A table is never written over a declaration.
expect_status 1 --csv staff/a.xml staff/a.xml
cmp -s staff/a.xml "$source_dir/tests/data/declaration-expected.xml" || fail "the table overwrote a declaration"

if [ "$failures" -gt 0 ]; then
    echo "check-cli: $failures problem(s)" >&2
    exit 1
fi
echo "check-cli: varnok-check prints, exits and exports as it should"
