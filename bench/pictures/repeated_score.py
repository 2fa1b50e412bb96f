#!/usr/bin/env python3
"""Writes a MusicXML score whose every part plays its measures N times over, numbered on.

    repeated_score.py SCORE.musicxml N OUT.musicxml

The measures are copied as they are, attributes and all, so the copy reads as the score does,
N times as long: what the cost of drawing a long score is measured on.
"""
import re
import sys


def main(args):
    if len(args) != 3 or not args[1].isdigit() or int(args[1]) < 1:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    source, times, out = args[0], int(args[1]), args[2]
    with open(source, encoding='utf-8') as file:
        text = file.read()

    def repeat(part):
        measures = re.findall(r'[ \t]*<measure[\s>].*?</measure>\n?', part.group(2), re.S)
        copies = []
        for round_ in range(times):
            for index, measure in enumerate(measures):
                number = round_ * len(measures) + index + 1
                copies.append(re.sub(r'number="[^"]*"', f'number="{number}"', measure, count=1))
        return part.group(1) + ''.join(copies) + part.group(3)

    repeated = re.sub(r'(<part\s[^>]*>\n?)(.*?)([ \t]*</part>)', repeat, text, flags=re.S)
    with open(out, 'w', encoding='utf-8') as file:
        file.write(repeated)
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
