"""Runs `plexa-host demo` into a fresh out folder and reads every .eml it writes with Python's
email parser: each must parse without defects, carry the headers a mail reader needs, and an
HTML message must be multipart/alternative with a plain and an HTML part."""
import email
import email.policy
import pathlib
import subprocess
import sys
import tempfile


def main() -> int:
    host = sys.argv[1]
    with tempfile.TemporaryDirectory() as out:
        run = subprocess.run([host, "demo", "--out", out], capture_output=True, text=True)
        if run.returncode != 0:
            print(run.stdout, run.stderr)
            print(f"plexa-host demo exited with {run.returncode}")
            return 1
        files = sorted(pathlib.Path(out).glob("*.eml"))
        if not files:
            print("the demo wrote no .eml file")
            return 1
        problems = []
        html_seen = False
        for number, path in enumerate(files, start=1):
            raw = path.read_bytes()
            if not path.name.startswith(f"{number:04d}-"):
                problems.append(f"{path.name}: not numbered {number:04d} in sending order")
            if b"\n" in raw.replace(b"\r\n", b""):
                problems.append(f"{path.name}: a line ends without CR LF")
            message = email.message_from_bytes(raw, policy=email.policy.default)
            if message.defects:
                problems.append(f"{path.name}: defects {message.defects}")
            for header in ("From", "To", "Subject", "Date", "Message-ID", "MIME-Version"):
                if message[header] is None:
                    problems.append(f"{path.name}: no {header} header")
            recipient = path.stem.split("-", 1)[1]
            if recipient not in str(message["To"]):
                problems.append(f"{path.name}: the file name's {recipient} is not in To")
            types = [part.get_content_type() for part in message.walk()]
            if "text/html" in types:
                html_seen = True
                if types != ["multipart/alternative", "text/plain", "text/html"]:
                    problems.append(f"{path.name}: HTML message with parts {types}")
            elif types != ["text/plain"]:
                problems.append(f"{path.name}: plain message with parts {types}")
            for part in message.walk():
                if part.get_content_maintype() == "text" and part.defects:
                    problems.append(f"{path.name}: part defects {part.defects}")
            print(f"{path.name}: {message['Subject']!s} -> {message['To']!s} {types}")
        if not html_seen:
            problems.append("the demo sent no HTML message")
        for problem in problems:
            print(problem)
        return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
