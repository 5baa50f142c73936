"""Prints what an independent MIDI reader (mido) finds in a MIDI file, one fact a line."""
import sys

import mido

midi = mido.MidiFile(sys.argv[1])
print("format", midi.type, "division", midi.ticks_per_beat, "tracks", len(midi.tracks))
print("seconds", round(midi.length, 6))
notes = []
sounding = {}
now = 0
for message in midi.tracks[0]:
    now += message.time
    if message.type == "set_tempo":
        print("tempo", message.tempo)
    elif message.type == "program_change":
        print("program", message.channel, message.program)
    elif message.type == "note_on" and message.velocity > 0:
        key = (message.channel, message.note)
        if key in sounding:
            print("overlap", *key, now)
        sounding[key] = (now, message.velocity)
    elif message.type in ("note_on", "note_off"):
        start, velocity = sounding.pop((message.channel, message.note))
        notes.append((start, message.channel, message.note, velocity, now))
    elif message.type == "end_of_track":
        print("end", now)
for start, channel, note, velocity, end in sorted(notes):
    print("note", channel, note, velocity, start, end)
if sounding:
    print("unended", len(sounding))
