// Reads a telemetry log with node-mavlink and prints a line for each frame it finds: the message
// id, the time in milliseconds as the library gives it, and the frame's bytes.
'use strict';
const fs = require('fs');
const { MavLinkTLogPacketSplitter, MavLinkPacketParser } = require('node-mavlink');

fs.createReadStream(process.argv[2])
  .pipe(new MavLinkTLogPacketSplitter())
  .pipe(new MavLinkPacketParser())
  .on('data', (packet) => {
    console.log(`${packet.header.msgid} ${packet.header.timestamp} ${packet.buffer.toString('hex')}`);
  });
