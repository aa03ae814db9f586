"""Runs a scenario that sends personal copies and checks each copy's .eml for its own values:
exactly one recipient, and the subject and body filled with that recipient's placeholder values.

    check_copies.py PLEXA_HOST SCENARIO ADDRESS=SUBJECT=BODY...

BODY is a text the copy's plain body must contain. Every copy written must be named once, and
no copy may still hold a placeholder token."""
import email
import email.policy
import pathlib
import subprocess
import sys
import tempfile


def main() -> int:
    host, scenario = sys.argv[1], sys.argv[2]
    wanted = {}
    for expected in sys.argv[3:]:
        address, subject, body = expected.split("=", 2)
        wanted[address.lower()] = (subject, body)
    ok = True
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run([host, "run", scenario, "--quiet", "--out", out],
                             capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout + run.stderr)
            print(f"plexa-host exited with {run.returncode}")
            return 1
        files = sorted(pathlib.Path(out).glob("*.eml"))
        seen = set()
        for path in files:
            message = email.message_from_bytes(path.read_bytes(), policy=email.policy.default)
            to = [a.addr_spec.lower() for a in message["To"].addresses] if message["To"] else []
            if message["Cc"] or message["Bcc"] or len(to) != 1:
                print(f"{path.name}: a personal copy has one recipient, this one: {to}")
                ok = False
                continue
            address = to[0]
            if address not in wanted:
                print(f"{path.name}: an unexpected copy to {address}")
                ok = False
                continue
            if address in seen:
                print(f"{path.name}: a second copy to {address}")
                ok = False
            seen.add(address)
            subject, body = wanted[address]
            text = message.get_body(preferencelist=("plain",)).get_content()
            if message["Subject"] != subject:
                print(f"{path.name}: subject {message['Subject']!r}, expected {subject!r}")
                ok = False
            if body not in text:
                print(f"{path.name}: body {text!r} does not contain {body!r}")
                ok = False
            for token in ("%FullName%", "%FirstName%", "%LastName%"):
                if token in text or token in message["Subject"]:
                    print(f"{path.name}: still holds {token}")
                    ok = False
        for address in sorted(set(wanted) - seen):
            print(f"no copy went to {address}")
            ok = False
    print(f"{len(files)} copies checked")
    return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
