@echo off
rem Lerva: a game against three computer players on this computer.
rem Starts the game server on 127.0.0.1 (port 113) with three computer players,
rem then the client; when the client closes, the server is stopped again.
cd /d "%~dp0"
start "Lerva server" /min lerva-server.exe --bind 127.0.0.1 --bots 3
rem Give the server a moment to open its port.
ping -n 2 127.0.0.1 >nul
start "" /wait lerva.exe
taskkill /fi "WINDOWTITLE eq Lerva server*" /im lerva-server.exe >nul 2>&1
