#!/usr/bin/env bash
# End-to-end checks of cangshu-admin on SQLite and, with CANGSHU_TEST_PG, on PostgreSQL.
set -u
admin=${1:?path to cangshu-admin}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() { # check NAME EXPECTED_STATUS EXPECTED_OUTPUT_PATTERN -- command...
  local name=$1 want=$2 pattern=$3
  shift 4
  local out status
  out=$("$@" 2>&1)
  status=$?
  if [ "$status" -eq "$want" ] && grep -qE -- "$pattern" <<<"$out"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name (status $status, wanted $want; pattern '$pattern')"
    echo "$out" | head -20
  fi
}

run_suite() { # run_suite LABEL HOME [init options]
  local label=$1 home=$2
  shift 2
  local a=("$admin" --home "$home" --today 2024-05-10)
  check "$label init" 0 'created|excel' -- "${a[@]}" init --demo "$@"
  check "$label init again names what it kept" 0 'exists' -- "${a[@]}" init "$@"
  check "$label startup" 0 "database: $label" -- "${a[@]}" startup
  check "$label startup json" 0 '"remoteOnline":false' -- "${a[@]}" --json startup
  local first second
  first=$("${a[@]}" number reader)
  check "$label number advance" 0 "^$first\$" -- "${a[@]}" number reader --advance
  second=$("${a[@]}" number reader)
  if [ "$first" != "$second" ] && [ -n "$second" ]; then passed=$((passed + 1)); else
    failed=$((failed + 1)); echo "FAILED: $label counter did not advance ($first -> $second)"; fi
  check "$label number bad kind" 2 'book, periodical or reader' -- "${a[@]}" number magazine
  check "$label upgrade" 0 '升级成功！' -- "${a[@]}" upgrade
  check "$label upgrade again" 0 '升级成功！' -- "${a[@]}" upgrade
  check "$label unknown operator" 2 'unknown operator' -- "$admin" --home "$home" --operator nobody number book
  check "$label generate" 0 'books' -- "${a[@]}" generate --books 200 --readers 20 --loans 10 --history 30 --seed 7
}

check "isbn" 0 '^9787536621336$' -- "$admin" isbn 7-5366-2133-1
check "pinyin" 0 '^ZGabc$' -- "$admin" pinyin 中国abc
check "no command" 2 'usage' -- "$admin"
check "bad today" 2 'YYYY-MM-DD' -- "$admin" --today 2024-13-01 isbn x
check "missing home" 3 'INI文件连接错误！' -- "$admin" --home "$work/none" startup
mkdir -p "$work/nodb/set_ini"
printf '[setnet]\nnet=0\n' >"$work/nodb/set_ini/init_ini.ini"
check "missing database file" 3 '数据库连接错误！' -- "$admin" --home "$work/nodb" startup
[ -e "$work/nodb/excel/excel.cab" ] && { failed=$((failed + 1)); echo "FAILED: an empty database was created"; }

run_suite sqlite "$work/lite"
for f in set_ini/init_ini.ini excel/excel.cab database photo skin bookpic/x backup report; do
  [ -e "$work/lite/$f" ] || { failed=$((failed + 1)); echo "FAILED: home lacks $f"; }
done

if [ -n "${CANGSHU_TEST_PG:-}" ]; then
  db="cli_test_$$"
  psql "$CANGSHU_TEST_PG" -qc "create database $db" >/dev/null
  export CANGSHU_PG="${CANGSHU_TEST_PG/dbname=postgres/dbname=$db}"
  run_suite postgresql "$work/server" --server
  psql "$CANGSHU_TEST_PG" -qc "drop database $db with (force)" >/dev/null
fi

# Circulation and reader commands on a fresh demo home of each engine.
run_circulation() { # run_circulation LABEL HOME [init options]
  local label=$1 home=$2
  shift 2
  local a=("$admin" --home "$home" --today 2024-05-10)
  "${a[@]}" init --demo "$@" >/dev/null
  check "$label lend two" 0 '00000003.*应还日期：2024-06-09' -- "${a[@]}" lend --reader 00000003 00000002 00000003
  check "$label lend lost card" 1 '^该读者已经挂失！$' -- "${a[@]}" lend --reader 00000009 00000004
  check "$label lend expired card" 1 '^该读者已经过期！$' -- "${a[@]}" lend --reader 00000010 00000004
  check "$label lend all or nothing" 1 '此书不在馆内或者不允许借出！' -- "${a[@]}" lend --reader 00000008 00000004 00000001
  check "$label lend after refusal" 0 '书籍借阅成功！' -- "${a[@]}" lend --reader 00000008 00000004
  check "$label return with fine" 0 '"total":"1.5"' -- "${a[@]}" --json return --reader 00000002
  check "$label return one" 0 '借出天数：1' -- "${a[@]}" return --reader 00000003 00000003
  check "$label return not held" 1 '此书还没有借出！' -- "${a[@]}" return --reader 00000003 00000004
  check "$label renew" 0 '书籍续借成功！' -- "${a[@]}" renew --reader 00000003 00000002
  check "$label renew used up" 1 '达到续借次数' -- "${a[@]}" renew --reader 00000003 00000002
  check "$label deposit in" 0 '读者押金：12.5' -- "${a[@]}" deposit --reader 00000003 --amount 12.5 --note 测试
  check "$label deposit out" 0 '读者押金：12.4' -- "${a[@]}" deposit --reader 00000003 --amount -0.1
  check "$label deposit bad amount" 1 '^金额输入错误！$' -- "${a[@]}" deposit --reader 00000003 --amount abc
  check "$label fine" 0 '操作成功！' -- "${a[@]}" fine --reader 00000003 --amount 20 --item 红楼梦
  check "$label fine negative" 1 '罚款金额输入错误！' -- "${a[@]}" fine --reader 00000003 --amount -1 --item 红楼梦
  check "$label reader lose" 0 '挂失操作成功！' -- "${a[@]}" reader lose 00000008
  check "$label lend to lost" 1 '该读者已经挂失！' -- "${a[@]}" lend --reader 00000008 00000005
  check "$label reader found" 0 '解挂操作成功！' -- "${a[@]}" reader found 00000008
  check "$label refund with loans" 1 '此读者有书籍未归还，不能删除！' -- "${a[@]}" reader refund 00000003
  check "$label status of nobody" 1 '没有找到该读者' -- "${a[@]}" reader cancel 99999999
  check "$label lend usage" 2 'usage' -- "${a[@]}" lend 00000005
}

run_circulation sqlite "$work/circ-lite"
if [ -n "${CANGSHU_TEST_PG:-}" ]; then
  db="cli_circ_$$"
  psql "$CANGSHU_TEST_PG" -qc "create database $db" >/dev/null
  CANGSHU_PG="${CANGSHU_TEST_PG/dbname=postgres/dbname=$db}" run_circulation postgresql "$work/circ-server" --server
  psql "$CANGSHU_TEST_PG" -qc "drop database $db with (force)" >/dev/null
fi

# Files in and out: MARC and spreadsheet import, export, printing, barcodes, backup and restore.
run_files() { # run_files LABEL HOME [init options]
  local label=$1 home=$2
  shift 2
  local a=("$admin" --home "$home" --today 2024-05-10)
  local src
  src=$(cd "$(dirname "$0")/../.." && pwd)
  "${a[@]}" init --demo "$@" >/dev/null
  check "$label import-marc" 0 'imported 3 records' -- "${a[@]}" import-marc "$src/data/marc/cnmarc-books.iso" --into book --auto-number --auto-callno
  check "$label import-marc bad target" 2 'usage' -- "${a[@]}" import-marc "$src/data/marc/cnmarc-books.iso" --into shelf
  check "$label import-marc missing file" 2 '.' -- "${a[@]}" import-marc "$home/none.iso" --into book
  check "$label export txt" 0 'rows written' -- "${a[@]}" export --sql "select [书籍编号],[书籍名称] from [书籍资料] where [书籍名称]='红楼梦'" --format txt --out "$home/o.txt"
  check "$label exported text" 0 '红楼梦' -- cat "$home/o.txt"
  check "$label export xlsx" 0 'rows written' -- "${a[@]}" export --table 读者资料 --format xlsx --out "$home/r.xlsx"
  check "$label import-excel" 0 '10 rows' -- "${a[@]}" import-excel "$home/r.xlsx" --table 书籍预编
  check "$label export refuses writes" 2 'SELECT' -- "${a[@]}" export --sql "delete from [书籍资料]" --format htm --out "$home/x.htm"
  check "$label export bad table" 2 '.' -- "${a[@]}" export --table nosuch --format txt --out "$home/x.txt"
  check "$label print labels" 0 'pages written' -- "${a[@]}" print --template bookCode --table 书籍资料 --pdf "$home/labels.pdf"
  check "$label print card" 0 'pages written' -- "${a[@]}" print --template READER --sql "select * from [读者资料] where [读者编号]='00000001'" --pdf "$home/card.pdf"
  check "$label print unknown template" 2 '.' -- "${a[@]}" print --template nosuch --table 书籍资料 --pdf "$home/n.pdf"
  check "$label barcodes" 0 '5 barcodes' -- "${a[@]}" barcodes generate --width 8 --start 1 --count 5 --prefix A --top 藏书
  check "$label barcodes bad width" 2 '.' -- "${a[@]}" barcodes generate --width x --start 1 --count 5
  check "$label barcodes clear" 0 '数据清空完毕！' -- "${a[@]}" barcodes clear
  local file
  file=$("${a[@]}" backup)
  check "$label backup" 0 'backup/2024-05-10' -- echo "$file"
  "${a[@]}" lend --reader 00000008 00000004 >/dev/null
  check "$label restore" 0 '还原成功！' -- "${a[@]}" restore "$file"
  check "$label restored state" 0 '00000004' -- "${a[@]}" lend --reader 00000008 00000004
  check "$label restore refuses other files" 2 '不是本系统的备份文件！' -- "${a[@]}" restore "$home/o.txt"
}

run_files sqlite "$work/files-lite"
if [ -n "${CANGSHU_TEST_PG:-}" ]; then
  db="cli_files_$$"
  psql "$CANGSHU_TEST_PG" -qc "create database $db" >/dev/null
  CANGSHU_PG="${CANGSHU_TEST_PG/dbname=postgres/dbname=$db}" run_files postgresql "$work/files-server" --server
  psql "$CANGSHU_TEST_PG" -qc "drop database $db with (force)" >/dev/null
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
