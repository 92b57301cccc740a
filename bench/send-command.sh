#!/usr/bin/env bash
# Times one tickerpost-send process sending a one-part SMS to a real local SMTP server (aiosmtpd)
# beside curl and msmtp sending the same mail (the bytes tickerpost-send --dry-run shows) to the
# same server in the same run, with hyperfine; then the peak memory of one tickerpost-send process.
# Usage: bench/send-command.sh [BUILD_FOLDER] (default: build). Needs hyperfine, curl and msmtp
# (scripts/install-deps.sh --tests).
set -euo pipefail
cd "$(dirname "$0")/.."
send="$(realpath "${1:-build}")/tickerpost-send"

work=$(mktemp -d)
server=
trap '[ -n "$server" ] && kill "$server"; rm -rf "$work"' EXIT
mkdir "$work/mail" "$work/files"
/usr/bin/python3 tests/support/smtp_server.py "$work/mail" >"$work/port" &
server=$!
for _ in $(seq 100); do [ -s "$work/port" ] && break; sleep 0.1; done
port=$(head -1 "$work/port")

printf '[eMailAccount]\r\nLoginPassword=geheim\r\nSMTPServer=127.0.0.1\r\nSMTPPort=%s\r\nPop3First=0\r\n' "$port" \
    >"$work/files/user.ini"
printf 'UserName=Server\r\neMailAdress=alarm@example.de\r\n[SMS]\r\nSMSServer=sms.example\r\n' >>"$work/files/user.ini"
printf '[Adressbook]\r\nUseOutlookAdressbook=0\r\n' >>"$work/files/user.ini"
text="Backup auf db1 fehlgeschlagen"
recipient=491711234567@sms.example
"$send" --dir "$work/files" --dry-run -m "$text" 01711234567 | tail -n +2 >"$work/mail.eml"

export LC_ALL=C.UTF-8
hyperfine --warmup 5 --runs 50 --export-markdown "$work/times.md" \
    -n tickerpost-send "$send --dir $work/files -m '$text' 01711234567" \
    -n curl "curl -s --url smtp://127.0.0.1:$port --mail-from alarm@example.de --mail-rcpt $recipient --upload-file $work/mail.eml" \
    -n msmtp "msmtp --host=127.0.0.1 --port=$port --auth=off --tls=off --from=alarm@example.de $recipient <$work/mail.eml"
cat "$work/times.md"

/usr/bin/time -v "$send" --dir "$work/files" -m "$text" 01711234567 2>&1 >/dev/null |
    sed -n 's/^\s*Maximum resident set size (kbytes): /tickerpost-send peak memory (KiB): /p'
for tool in curl msmtp; do
    if [ $tool = curl ]; then
        command=(curl -s --url "smtp://127.0.0.1:$port" --mail-from alarm@example.de --mail-rcpt $recipient
            --upload-file "$work/mail.eml")
    else
        command=(msmtp --host=127.0.0.1 --port="$port" --auth=off --tls=off --from=alarm@example.de $recipient)
    fi
    /usr/bin/time -v "${command[@]}" <"$work/mail.eml" 2>&1 >/dev/null |
        sed -n "s/^\s*Maximum resident set size (kbytes): /$tool peak memory (KiB): /p"
done
echo "mails received: $(ls "$work/mail" | wc -l)"
