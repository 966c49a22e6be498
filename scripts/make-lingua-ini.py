#!/usr/bin/env python3
"""Writes data/Lingua.ini, src/shell/LanguageKeys.h and docs/language-keys.md from the
table below.

Lingua.ini holds the program's 167 screen texts in three sections (ITALIANO, INGLESE,
SPAGNOLO), each with the same keys in the same order: the index of a text in the program is
the position of its key in this table. The file is Windows-1252 with CR LF line ends.

LanguageKeys.h holds the key list the program reads in this order and one named index per
key (namespace lang), so that the program writes LangText[lang::DVeicoliCaption], never a
bare number.

Usage: scripts/make-lingua-ini.py   (run from anywhere; rewrites the three files)
"""
import pathlib
import re

# (key, role, Italian, English, Spanish). Role: where the program shows the text.
TEXTS = [
    ("Menùtitolo", "start menu: title line under the maker's name",
     "ANALISI GAS E FUMI", "GAS AND SMOKE ANALYSIS", "ANÁLISIS DE GASES Y HUMOS"),
    ("Menùgas", "not shown (name of the gas menu)",
     "Analisi gas", "Gas analysis", "Análisis de gases"),
    ("Menùopa", "not shown (name of the smoke menu)",
     "Analisi fumi", "Smoke analysis", "Análisis de humos"),
    ("MenùRPM", "not shown (name of the engine-speed menu)",
     "Contagiri", "Rev counter", "Cuentarrevoluciones"),
    ("MenùLingua", "start menu: caption of the language menu",
     "&Lingua", "&Language", "&Idioma"),
    ("ANFUMOExclStamp1", "smoke test (MCTC-NET): second notice after the end-of-series box, "
     "shown when the lock state asks for it",
     "Per stampare il referto premere STAMPA.", "To print the report press PRINT.",
     "Para imprimir el informe pulse IMPRIMIR."),
    ("ANFUMOExclStamp2", "smoke test (binary protocol): notice shown once when the form opens",
     "Verificare che la sonda sia fuori dal tubo di scarico prima dell'azzeramento.",
     "Make sure the probe is out of the exhaust pipe before zeroing.",
     "Compruebe que la sonda esté fuera del tubo de escape antes de la puesta a cero."),
    ("ANFUMOFine", "smoke test: capture button before the last acceleration",
     "&Fine", "&Finish", "&Finalizar"),
    ("ANFUMOAvan", "smoke test: manual capture button",
     "&Avanzamento", "&Next", "&Siguiente"),
    ("ANFUMOFase", "gas and smoke tests: neutral text of the message line",
     "FASE DI PROVA", "TEST PHASE", "FASE DE PRUEBA"),
    ("ANFUMOExclStamp3", "not shown (spare notice)",
     "Verificare che la stampante sia accesa.", "Make sure the printer is switched on.",
     "Compruebe que la impresora esté encendida."),
    ("ANFUMOEsito", "gas and smoke tests: verdict line before a verdict; caption of the "
     "result on the gas certificate and the smoke reports",
     "ESITO PROVA", "TEST RESULT", "RESULTADO"),
    ("ANFUMOCap", "smoke test: window caption",
     "Analisi Fumo", "Smoke Analysis", "Análisis de Humos"),
    ("ANFUMOProve", "smoke test: frame of the acceleration table",
     "Prove Intermedie", "Intermediate Tests", "Pruebas Intermedias"),
    ("ANFUMOFrame", "smoke test: frame of k and opacity",
     "Misura", "Measurement", "Medida"),
    ("ANFUMOTcella", "smoke test: title of the cell temperature",
     "Temp. Cella", "Cell Temp.", "Temp. Célula"),
    ("ANFUMOTolio", "smoke and gas tests: title of the oil temperature; engine-speed set-up: "
     "label of the external oil-temperature switch",
     "Temp. Olio", "Oil Temp.", "Temp. Aceite"),
    ("ANFUMOTfumi", "smoke test: title of the smoke temperature",
     "Temp. Fumi", "Smoke Temp.", "Temp. Humos"),
    ("ANFUMOOp", "smoke test: title of the result (mean k and opacity)",
     "OPACITÀ", "OPACITY", "OPACIDAD"),
    ("ANFUMOMis", "smoke test: title beside the test-mode list",
     "Tipo misura", "Test mode", "Tipo de medida"),
    ("ANFUMOStart", "smoke test: START button; gas test: Start/Stop button when stopped",
     "START &MISURA", "&START TEST", "&INICIAR MEDIDA"),
    ("ANFUMOLim", "gas and smoke tests: limits button",
     "&IMPOSTA LIMITI", "SET &LIMITS", "&LÍMITES"),
    ("ANFUMOStampa", "gas and smoke tests: print button",
     "&STAMPA", "&PRINT", "IM&PRIMIR"),
    ("ANFUMODatVeic", "gas and smoke tests: vehicle-data button",
     "&DATI VEICOLO", "&VEHICLE DATA", "DATOS &VEHÍCULO"),
    ("ANFUMOMis1", "smoke test: test mode 0",
     "Continua", "Continuous", "Continua"),
    ("ANFUMOMis2", "smoke test: test mode 2",
     "Limite Fumi", "Smoke Limit", "Límite Humos"),
    ("ANFUMOMis3", "smoke test: test mode 3",
     "Tempo", "Timed", "Tiempo"),
    ("ANFUMOMis4", "smoke test: test mode 4",
     "Manuale", "Manual", "Manual"),
    ("ANFUMOAttRisc", "gas and smoke tests: instruction while the instrument or the cell warms up",
     "ATTENDERE IL RISCALDAMENTO", "WAIT FOR WARM-UP", "ESPERAR EL CALENTAMIENTO"),
    ("ANFUMODec", "gas and smoke tests: instruction, engine speed too high",
     "DECELERARE", "DECELERATE", "DESACELERAR"),
    ("ANFUMOAcc", "gas and smoke tests: instruction, accelerate; also inside the chart prompt",
     "ACCELERARE", "ACCELERATE", "ACELERAR"),
    ("ANFUMOManMax", "smoke test: instruction, hold at full speed",
     "MANTENERE AL MASSIMO", "HOLD AT FULL SPEED", "MANTENER AL MÁXIMO"),
    ("ANFUMOManMin", "gas and smoke tests: instruction, hold at idle",
     "MANTENERE AL MINIMO", "HOLD AT IDLE", "MANTENER EN RALENTÍ"),
    ("ANFUMOConcl", "gas and smoke tests: test or series completed; start of the chart prompt",
     "PROVA CONCLUSA", "TEST COMPLETED", "PRUEBA CONCLUIDA"),
    ("ANFUMOAutzer", "smoke test: status and message line during auto-zero",
     "Autozero", "Auto-zero", "Autocero"),
    ("ANFUMOAttivo", "smoke test: status line, instrument ready",
     "Pronto", "Ready", "Listo"),
    ("ANFUMOPAlta", "smoke test: message with ERROR 3 of the opacimeter",
     "PRESSIONE ALTA", "PRESSURE TOO HIGH", "PRESIÓN ALTA"),
    ("ANFUMOPBassa", "smoke test: message with ERROR 4 of the opacimeter",
     "PRESSIONE BASSA", "PRESSURE TOO LOW", "PRESIÓN BAJA"),
    ("ANFUMOEnnO", "smoke test: message with ERROR 2 (emitter fault)",
     "EMETTITORE NON OPERATIVO", "LIGHT EMITTER NOT WORKING", "EMISOR NO OPERATIVO"),
    ("ANFUMOPPOtt", "smoke test: message with ERROR 1 (dirty optics)",
     "PULIRE LE PARTI OTTICHE", "CLEAN THE OPTICAL PARTS", "LIMPIAR LAS PARTES ÓPTICAS"),
    ("ANFUMORiscal", "gas and smoke tests: status line during warm-up",
     "Riscaldamento", "Warm-up", "Calentamiento"),
    ("ANFUMOSpengere", "smoke test: message when the opacimeter reports an error state",
     "SPEGNERE L'OPACIMETRO", "SWITCH OFF THE SMOKE METER", "APAGAR EL OPACÍMETRO"),
    ("ANFUMOControl", "smoke test: status line during the opacimeter's self-check",
     "Controllo", "Self-check", "Control"),
    ("ANFUMOExclStamp4", "smoke test (MCTC-NET): box at the end of a series",
     "Serie di accelerazioni conclusa: estrarre la sonda dal tubo di scarico.",
     "Acceleration series completed: take the probe out of the exhaust pipe.",
     "Serie de aceleraciones concluida: saque la sonda del tubo de escape."),
    ("ANFUMOExclStamp5", "smoke test (MCTC-NET): notice after auto-zero",
     "Azzeramento concluso: inserire la sonda nel tubo di scarico.",
     "Zeroing completed: insert the probe into the exhaust pipe.",
     "Puesta a cero concluida: introduzca la sonda en el tubo de escape."),
    ("ANFUMOMisura", "start menu: the three measure items; gas and smoke tests: status line "
     "while measuring (the reading logs are written only while it shows this text)",
     "Misura", "Measurement", "Medición"),
    ("ANGASCap", "gas test: window caption",
     "Analisi Gas", "Gas Analysis", "Análisis de Gases"),
    ("ANGASCarbu", "gas test: title of the fuel list",
     "Carburante", "Fuel", "Combustible"),
    ("ANGASCarbu1", "gas test: fuel list entry 0 (petrol)",
     "BENZ", "PETROL", "GASOLINA"),
    ("ANGASCarbu2", "gas test: fuel list entry 1 (petrol with catalyst)",
     "BENZ CAT", "PETROL CAT", "GASOLINA CAT"),
    ("ANGASCarbu3", "gas test: fuel list entry 4 (LPG)",
     "GPL", "LPG", "GLP"),
    ("ANGASCarbu4", "gas test: fuel list entry 5 (LPG with catalyst)",
     "GPL CAT", "LPG CAT", "GLP CAT"),
    ("ANGASMot", "gas test: title of the engine-cycle list",
     "Motore", "Engine", "Motor"),
    ("ANGASSelMis", "gas test: title of the mode list",
     "Modalità", "Mode", "Modo"),
    ("ANGASSelMis1", "gas test: mode list entry 0",
     "Certificazione", "Certification", "Certificación"),
    ("ANGASSelMis2", "gas test: mode list entry 1",
     "Diagnosi", "Diagnosis", "Diagnóstico"),
    ("ANGASConPro", "gas test: message, window ended but values not yet within limits",
     "CONTINUARE LA PROVA", "CONTINUE THE TEST", "CONTINUAR LA PRUEBA"),
    ("ANGASProSup", "gas test: verdict, passed",
     "PROVA SUPERATA", "TEST PASSED", "PRUEBA SUPERADA"),
    ("ANGASP1Concl", "gas test: message, idle part of a catalysed test completed",
     "PROVA AL MINIMO CONCLUSA", "IDLE TEST COMPLETED", "PRUEBA EN RALENTÍ CONCLUIDA"),
    ("ANGASProNnSup", "gas test: verdict, failed; certificate result",
     "PROVA NON SUPERATA", "TEST FAILED", "PRUEBA NO SUPERADA"),
    ("ANGASManMinAcc", "gas test: instruction, hold at raised idle",
     "MANTENERE AL MINIMO ACCELERATO", "HOLD AT RAISED IDLE", "MANTENER EN RALENTÍ ACELERADO"),
    ("ANGASP2Concl", "gas test: message, catalysed test completed",
     "PROVA AL MINIMO ACCELERATO CONCLUSA", "RAISED IDLE TEST COMPLETED",
     "PRUEBA EN RALENTÍ ACELERADO CONCLUIDA"),
    ("ANGASCal", "gas test: status line during calibration or auto-zero",
     "Calibrazione", "Calibration", "Calibración"),
    ("ANGASAtt", "gas test (binary protocol): status line, analyser waiting for Start",
     "In attesa", "Ready", "En espera"),
    ("ANGASEffNwMis", "gas test: message after an analyser error, the measurement must be "
     "started again",
     "RIPETERE LA MISURA", "REPEAT THE MEASUREMENT", "REPETIR LA MEDICIÓN"),
    ("ANGASErrCon", "gas test: message, analyser error (binary status 1, MCTC-NET code 9)",
     "ERRORE ANALIZZATORE", "ANALYSER ERROR", "ERROR DEL ANALIZADOR"),
    ("ANGASErrTen", "gas test (binary protocol): message, leak error, followed by the "
     "analyser's detail code",
     "ERRORE DI TENUTA", "LEAK ERROR", "ERROR DE ESTANQUEIDAD"),
    ("ANGASErrIrre", "gas test (binary protocol): message, unrecoverable analyser error",
     "ERRORE IRRECUPERABILE", "UNRECOVERABLE ERROR", "ERROR IRRECUPERABLE"),
    ("ANSUCap", "gas-analyser set-up: window caption; after the check-expiry caption on the "
     "gas pages",
     "Analizzatore", "Analyser", "Analizador"),
    ("ANSUModCom", "not shown (communication mode)",
     "Modalità di comunicazione", "Communication mode", "Modo de comunicación"),
    ("ANSUDat", "instrument set-up forms: frame of the identity data",
     "&DATI", "&DATA", "&DATOS"),
    ("ANSUAppl", "set-up, data and limits forms: apply button",
     "&Applica", "&Apply", "&Aplicar"),
    ("ANSUMarc", "gas pages and smoke reports: caption of the instrument make",
     "Marca", "Make", "Marca"),
    ("ANSUNOm", "printed pages and engine-speed set-up: caption of the homologation number",
     "N. omologazione", "Homologation no.", "N. homologación"),
    ("DAMBCap", "ambient-data dialog: window caption; start menu: its menu item",
     "Dati Ambientali", "Ambient Data", "Datos Ambientales"),
    ("DAMBTemp", "ambient-data dialog and printed pages: temperature",
     "Temperatura", "Temperature", "Temperatura"),
    ("DAMBPress", "ambient-data dialog and printed pages: pressure",
     "Pressione", "Pressure", "Presión"),
    ("DAMBUmid", "ambient-data dialog and printed pages: relative humidity",
     "Umidità relativa", "Relative humidity", "Humedad relativa"),
    ("DVeicoliCap", "vehicle-data dialog: window caption",
     "Dati Veicolo", "Vehicle Data", "Datos del Vehículo"),
    ("DVeicoliFeT", "vehicle-data dialog and printed pages: make and type (also of the "
     "engine-speed counter)",
     "Fabbrica e tipo", "Make and type", "Marca y tipo"),
    ("DVeicoliTarga", "vehicle-data dialog and printed pages: plate",
     "Targa", "Plate", "Matrícula"),
    ("DVeicoliTelaio", "vehicle-data dialog and printed pages: chassis number",
     "Telaio", "Chassis no.", "N. bastidor"),
    ("DVeicoliAImm", "vehicle-data dialog and printed pages: year of first registration",
     "Anno immatricolazione", "Year of registration", "Año de matriculación"),
    ("frmAbout", "about box: one-line description",
     "SOFTWARE PER L'ANALISI DEI GAS DI SCARICO E DELL'OPACITÀ DEI FUMI",
     "SOFTWARE FOR EXHAUST GAS AND SMOKE OPACITY ANALYSIS",
     "SOFTWARE PARA EL ANÁLISIS DE GASES DE ESCAPE Y OPACIDAD DE HUMOS"),
    ("LIMITICap", "gas and smoke limits dialogs: window caption",
     "Limiti", "Limits", "Límites"),
    ("LIMITISOp", "smoke limits and smoke reports: opacity threshold",
     "Soglia opacità", "Opacity threshold", "Umbral de opacidad"),
    ("LIMITIVLim", "smoke limits and smoke reports: limit value of k",
     "Valore limite K", "Limit value K", "Valor límite K"),
    ("LIMITIANDProva", "gas limits: test duration in seconds",
     "Durata Prova", "Test Duration", "Duración Prueba"),
    ("LIMITIANAbRPM", "gas limits: switch that makes engine speed part of the verdict",
     "Abilitazione &RPM", "Enable &RPM", "Habilitar &RPM"),
    ("OPASUCap", "opacimeter set-up: window caption; after the check-expiry caption on the "
     "smoke reports",
     "Opacimetro", "Smoke Meter", "Opacímetro"),
    ("PrtKYMRADiagnCopie", "gas pages: caption of the copies box, after \"N° \"",
     "copie", "copies", "copias"),
    ("OPASURil", "instrument set-up forms: identify button",
     "&Rileva", "&Identify", "&Identificar"),
    ("PrtKYMRACERTReferto", "gas certificate: title; Title of report.log",
     "REFERTO PROVA GAS DI SCARICO", "EXHAUST GAS TEST REPORT",
     "INFORME DE PRUEBA DE GASES DE ESCAPE"),
    ("PrtKYMRACERTDatiAn", "gas pages: heading of the analyser box",
     "DATI ANALIZZATORE", "ANALYSER DATA", "DATOS DEL ANALIZADOR"),
    ("PrtKYMRACERTTipo", "gas pages and smoke reports: instrument model",
     "Tipo", "Type", "Tipo"),
    ("PrtKYMRACERTNserie", "printed pages and engine-speed set-up: serial number",
     "N. di serie", "Serial no.", "N. de serie"),
    ("PrtKYMRACERTDscadCon", "printed pages and engine-speed set-up: check expiry, followed "
     "by the instrument's name or \"RPM\"",
     "Scadenza verifica", "Check expiry", "Caducidad verificación"),
    ("PrtKYMRACERTDatiRPM", "printed pages: heading of the engine-speed counter box",
     "DATI CONTAGIRI", "REV COUNTER DATA", "DATOS DEL CUENTARREVOLUCIONES"),
    ("PrtKYMRACERTDatiVeic", "printed pages: heading of the vehicle box",
     "DATI VEICOLO", "VEHICLE DATA", "DATOS DEL VEHÍCULO"),
    ("PrtKYMRACERTTipoMot", "gas pages: engine type (hidden)",
     "Tipo motore", "Engine type", "Tipo de motor"),
    ("PrtKYMRACERTCarb", "gas pages: fuel",
     "Carburante", "Fuel", "Combustible"),
    ("PrtKYMRACERTCondAmb", "gas certificate and smoke reports: heading of the ambient box",
     "CONDIZIONI AMBIENTALI", "AMBIENT CONDITIONS", "CONDICIONES AMBIENTALES"),
    ("PrtKYMRACERTTolioMot", "printed pages: engine oil temperature",
     "Temp. olio motore", "Engine oil temp.", "Temp. aceite motor"),
    ("PrtKYMRACERTGirMin", "gas certificate and smoke reports: engine speed at idle",
     "Giri al minimo", "Idle speed", "Régimen de ralentí"),
    ("PrtKYMRACERTLimCOcorr", "gas certificate: corrected-CO limit",
     "Limite COcorr", "COcorr limit", "Límite COcorr"),
    ("PrtKYMRACERTProvSupl", "gas certificate: heading of the raised-idle section",
     "PROVA SUPPLEMENTARE PER VEICOLI CATALIZZATI E CON SONDA LAMBDA",
     "ADDITIONAL TEST FOR VEHICLES WITH CATALYST AND LAMBDA PROBE",
     "PRUEBA ADICIONAL PARA VEHÍCULOS CON CATALIZADOR Y SONDA LAMBDA"),
    ("PrtKYMRACERTParMot", "printed pages: heading of the engine box",
     "PARAMETRI MOTORE", "ENGINE PARAMETERS", "PARÁMETROS DEL MOTOR"),
    ("PrtKYMRACERTGirMinAcc", "gas certificate: engine speed at raised idle",
     "Giri al minimo accelerato", "Raised idle speed", "Régimen de ralentí acelerado"),
    ("PrtKYMRACERTValEmis", "gas pages: heading of the emission boxes",
     "VALORI DI EMISSIONE", "EMISSION VALUES", "VALORES DE EMISIÓN"),
    ("PrtKYMRACERTLimLam", "gas certificate: lambda limits",
     "Limiti lambda", "Lambda limits", "Límites lambda"),
    ("PrtKYMRACERTData", "printed pages: date",
     "Data", "Date", "Fecha"),
    ("PrtKYMRACERTInMis", "gas certificate and smoke reports: start of measurement",
     "Inizio misura", "Start of test", "Inicio de medición"),
    ("PrtKYMRACERTFinMis", "gas certificate and smoke reports: end of measurement",
     "Fine misura", "End of test", "Fin de medición"),
    ("PrtKYMRACERTRespTec", "gas certificate and smoke reports: technical manager",
     "Responsabile tecnico", "Technical manager", "Responsable técnico"),
    ("PrtKYMRACERTFirma", "printed pages: place for the signature",
     "Firma", "Signature", "Firma"),
    ("PrtKYMRACERTNomeEnte", "printed pages: testing body; user-data dialog: its label",
     "Nome ente", "Testing body", "Entidad"),
    ("PrtKYMRADiagnMis", "gas diagnosis sheet: title",
     "SCHEDA DI DIAGNOSI GAS DI SCARICO", "EXHAUST GAS DIAGNOSIS SHEET",
     "HOJA DE DIAGNÓSTICO DE GASES DE ESCAPE"),
    ("PrtKYMRADiagnGirMot", "gas diagnosis sheet: engine speed",
     "Giri motore", "Engine speed", "Régimen del motor"),
    ("PrtKYMRADiagnOra", "gas diagnosis sheet: time",
     "Ora", "Time", "Hora"),
    ("PrtKYMRADiagnOpe", "gas diagnosis sheet: operator",
     "Operatore", "Operator", "Operador"),
    ("RiconoscimentoFine", "COM scan: status, scan finished",
     "Ricerca terminata", "Scan finished", "Búsqueda terminada"),
    ("RiconoscimentoAtto", "COM scan: status, scan running",
     "Ricerca in corso...", "Scanning...", "Buscando..."),
    ("RiconoscimentoNCol", "not shown (port without instrument)",
     "Non collegato", "Not connected", "No conectado"),
    ("RiconoscimentoInizia", "COM scan: status before a scan",
     "Premere Ricerca per iniziare", "Press Search to start", "Pulse Buscar para empezar"),
    ("RiconoscimentoRic", "COM scan: start button",
     "&Ricerca", "&Search", "&Buscar"),
    ("RiconoscimentoCap", "COM scan: window caption; start menu: its menu item",
     "Lettura COM", "COM Scan", "Lectura COM"),
    ("RiconoscimentoImpo", "every form with a port: message when the port cannot be opened, "
     "after \"COM\" and the port number",
     "non può essere aperta", "cannot be opened", "no se puede abrir"),
    ("SetUpUtente", "start menu: item that opens the user-data dialog",
     "Dati Utente", "User Data", "Datos de Usuario"),
    ("StampaOPARefer", "smoke reports: title; Title of report.log",
     "REFERTO PROVA OPACITÀ FUMI", "SMOKE OPACITY TEST REPORT",
     "INFORME DE PRUEBA DE OPACIDAD DE HUMOS"),
    ("StampaOPADatOp", "smoke reports: heading of the opacimeter box",
     "DATI OPACIMETRO", "SMOKE METER DATA", "DATOS DEL OPACÍMETRO"),
    ("StampaOPAGirMotMax", "smoke reports: highest engine speed",
     "Giri motore max", "Max engine speed", "Régimen máximo"),
    ("StampaOPAValOp", "smoke reports: heading of the opacity values box",
     "VALORI DI OPACITÀ", "OPACITY VALUES", "VALORES DE OPACIDAD"),
    ("UtenteCap", "user-data dialog: window caption",
     "Dati Utente", "User Data", "Datos de Usuario"),
    ("UtenteNeCOp", "user-data dialog: operator's name",
     "Nome e cognome operatore", "Operator's name", "Nombre del operador"),
    ("UtenteNeCRT", "user-data dialog: technical manager's name",
     "Nome e cognome resp. tecnico", "Technical manager's name", "Nombre del resp. técnico"),
    ("GeneralePos", "smoke test: verdict of the series, passed",
     "ESITO POSITIVO", "PASSED", "FAVORABLE"),
    ("GeneraleNeg", "smoke test: verdict of the series, failed",
     "ESITO NEGATIVO", "FAILED", "DESFAVORABLE"),
    ("MsgBox1", "gas test: box when the test duration is not above zero",
     "Durata della prova non valida: impostare nei limiti una durata maggiore di zero.",
     "Invalid test duration: set a duration above zero in the limits.",
     "Duración de la prueba no válida: indique en los límites una duración mayor que cero."),
    ("RPMCilindri", "engine-speed forms: number of cylinders",
     "Cilindri", "Cylinders", "Cilindros"),
    ("RPMtempi", "engine-speed forms: engine strokes",
     "Tempi", "Strokes", "Tiempos"),
    ("StampaBlimiti", "smoke reports: heading of the limits box",
     "LIMITI", "LIMITS", "LÍMITES"),
    ("StampaOPAMedVal", "smoke reports: accelerations averaged",
     "Media dei valori", "Mean of values", "Media de los valores"),
    ("StampaOpaStampa", "printed pages: tool tip of the print button",
     "Stampa", "Print", "Imprimir"),
    ("ANFUMOBlocco", "smoke test (MCTC-NET): title of the lock state",
     "Blocco Fumi", "Smoke Lock", "Bloqueo Humos"),
    ("ANFUMOBlkAss", "smoke test (MCTC-NET): lock state, no lock",
     "Blocco assente", "No lock", "Sin bloqueo"),
    ("ANFUMOGrafic", "smoke test chart: end of the prompt after a chart",
     "PER UN NUOVO GRAFICO", "FOR A NEW CHART", "PARA UN NUEVO GRÁFICO"),
    ("ANFUMOMis5", "smoke test (MCTC-NET): test mode 6, single-acceleration chart",
     "Grafico", "Chart", "Gráfico"),
    ("ANFUMOEV", "smoke test (MCTC-NET): lock state, solenoid valve",
     "Elettrovalvola", "Solenoid valve", "Electroválvula"),
    ("ANFUMOSlChiusa", "smoke test (MCTC-NET): lock state, slide closed",
     "Slitta chiusa", "Slide closed", "Corredera cerrada"),
    ("ANFUMOSlAperta", "smoke test (MCTC-NET): lock state, slide open",
     "Slitta aperta", "Slide open", "Corredera abierta"),
    ("ANGASETmsgbox", "gas test (MCTC-NET): box, leak check missing or expired",
     "Prova di tenuta non valida o scaduta: eseguire la prova di tenuta (tasto TT).",
     "Leak test not valid or expired: run the leak test (TT button).",
     "Prueba de estanqueidad no válida o caducada: realice la prueba (botón TT)."),
    ("RPMSUSave", "instrument set-up forms: box after saving",
     "Impostazioni salvate.", "Settings saved.", "Configuración guardada."),
    ("ANGASETIRRmsgbox", "gas test (MCTC-NET): box, leak test passed",
     "Prova di tenuta superata: togliere il tappo dalla sonda.",
     "Leak test passed: remove the cap from the probe.",
     "Prueba de estanqueidad superada: quite el tapón de la sonda."),
    ("ANGASEHCIRRmsgbox", "gas test (MCTC-NET): box, HC residue too high",
     "Residuo HC troppo alto: pulire la linea di prelievo e ripetere il test.",
     "HC residue too high: clean the sampling line and repeat the test.",
     "Residuo de HC demasiado alto: limpie la línea de muestreo y repita la prueba."),
    ("ANGASTTESEmsgbox", "gas test (MCTC-NET): message while the leak test or the HC residue "
     "test runs",
     "PROVA IN CORSO, ATTENDERE", "TEST IN PROGRESS, PLEASE WAIT", "PRUEBA EN CURSO, ESPERE"),
    ("ANGASTTmsgbox", "gas test (MCTC-NET): status line during the leak test",
     "Prova di tenuta", "Leak test", "Prueba de estanqueidad"),
    ("ANGASErrBFls", "gas test (MCTC-NET): message, low sample flow",
     "FLUSSO BASSO: CONTROLLARE SONDA E FILTRI", "LOW FLOW: CHECK PROBE AND FILTERS",
     "CAUDAL BAJO: CONTROLAR SONDA Y FILTROS"),
    ("ANGASTTStart", "gas test: confirmation box of the leak-test button (OK, Cancel)",
     "Avviare la prova di tenuta? Chiudere la sonda con il tappo e premere OK.",
     "Start the leak test? Close the probe with its cap and press OK.",
     "¿Iniciar la prueba de estanqueidad? Tape la sonda y pulse OK."),
    ("MenùUtility", "start menu: caption of the utility menu",
     "&Utilità", "&Utilities", "&Utilidades"),
    ("ANGASErrVrete", "gas test (MCTC-NET): message, mains voltage error",
     "ERRORE TENSIONE DI RETE", "MAINS VOLTAGE ERROR", "ERROR DE TENSIÓN DE RED"),
    ("ANFUMOValim", "smoke test (MCTC-NET): low supply voltage warning",
     "TENSIONE BASSA", "LOW VOLTAGE", "TENSIÓN BAJA"),
    ("CRITICTcam", "smoke test: critical box ERROR 10 (measuring chamber temperature)",
     "ERRORE TEMPERATURA CAMERA DI MISURA, SPEGNERE L'OPACIMETRO",
     "MEASURING CHAMBER TEMPERATURE ERROR, SWITCH OFF THE SMOKE METER",
     "ERROR DE TEMPERATURA DE LA CÁMARA DE MEDIDA, APAGAR EL OPACÍMETRO"),
    ("ANGASErrCanAn", "gas test (MCTC-NET): message, faulty channels, followed by their names",
     "ERRORE CANALI:", "CHANNEL ERROR:", "ERROR EN CANALES:"),
    ("ANFUMOTAlta", "smoke test (MCTC-NET): message, temperature too high",
     "TEMPERATURA TROPPO ALTA", "TEMPERATURE TOO HIGH", "TEMPERATURA DEMASIADO ALTA"),
    ("ANFUMOESLITTA", "smoke test (MCTC-NET): message, slide error",
     "ERRORE SLITTA", "SLIDE ERROR", "ERROR DE CORREDERA"),
    ("ANFUMOMis15", "smoke test: test mode 5, direct acquisition; result text of that mode",
     "Acq.diretta", "Direct acq.", "Adq. directa"),
    ("DVeicoliMod", "vehicle-data dialog and printed pages: model",
     "Modello", "Model", "Modelo"),
]

SECTIONS = [("ITALIANO", 2), ("INGLESE", 3), ("SPAGNOLO", 4)]


def check():
    assert len(TEXTS) == 167, len(TEXTS)
    keys = [t[0] for t in TEXTS]
    assert len(set(k.lower() for k in keys)) == 167, "duplicate key"
    for key, role, *texts in TEXTS:
        for text in texts:
            assert text and text == text.strip(), key
            assert "\n" not in text and ";" not in text, key
            assert not (text[0] in "'\"" and text[-1] == text[0]), key
            assert len(text) <= 254, key
            text.encode("cp1252")


def write_ini(path):
    lines = []
    for name, column in SECTIONS:
        lines.append(f"[{name}]")
        lines += [f"{t[0]}={t[column]}" for t in TEXTS]
        lines.append("")
    path.write_bytes("\r\n".join(lines).encode("cp1252"))


def constant_name(key):
    """The C++ name of a key's index: "Menùtitolo" -> MenuTitolo, "DVeicoliCap" ->
    DVeicoliCaption, "frmAbout" -> FrmAbout."""
    name = key.replace("ù", "u")
    name = re.sub(r"^Menu([a-z])", lambda m: "Menu" + m.group(1).upper(), name)
    name = re.sub(r"Cap$", "Caption", name)
    return name[0].upper() + name[1:]


def write_header(path):
    names = [constant_name(t[0]) for t in TEXTS]
    assert len(set(names)) == len(names), "two keys give one name"
    width = max(len(t[0]) for t in TEXTS) + 5  # as clang-format aligns the comments
    out = [
        "// Generated by scripts/make-lingua-ini.py, do not edit.",
        "#pragma once",
        "// The keys of \"Lingua.ini\" in the order the program reads them, and the index of each",
        "// text in ShellState::LangText by name.",
        "#include <array>",
        "#include <cstddef>",
        "#include <string_view>",
        "",
        "namespace vs::lang {",
        "",
        f"inline constexpr std::size_t kCount = {len(TEXTS)};",
        "",
        "// The keys in index order, UTF-8 (on disk \"ù\" is the Windows-1252 byte 0xF9).",
        "inline constexpr std::array<std::string_view, kCount> kKeys = {",
    ]
    for i, (key, *_rest) in enumerate(TEXTS):
        out.append(f"    {(chr(34) + key + chr(34) + ',').ljust(width)}// {i}")
    out += ["};", ""]
    for i, name in enumerate(names):
        out.append(f"inline constexpr std::size_t {name} = {i};")
    out += ["", "}  // namespace vs::lang", ""]
    path.write_text("\n".join(out), encoding="utf-8")


def write_doc(path):
    out = [
        "# Language keys",
        "",
        "The program's screen texts live in `Lingua.ini` (in the station's folder, beside",
        "`Conf.ini`), one section per language: `ITALIANO` (language code 0 or 1), `INGLESE` (2),",
        "`SPAGNOLO` (3). Each section holds the 167 keys below. The program reads them in this",
        "order into `LangText`: the index is fixed and the code uses it, so keys are never",
        "renamed, removed or reordered. The file is Windows-1252; the keys that begin with",
        "\"Menù\" carry the byte 0xF9.",
        "",
        "A key that is missing or empty takes the text of the key before it (an empty text at",
        "index 0); a missing section or file leaves every text empty, and the start menu then",
        "tells the operator once, naming the file, while its menus show the keys instead. An '&'",
        "marks the access key of a button or menu. The file may also be UTF-8 (an editor that",
        "re-saves it so changes nothing).",
        "",
        "`data/Lingua.ini` and this table are written by `scripts/make-lingua-ini.py`: edit the",
        "texts there and run it.",
        "",
        "The program names each index in `src/shell/LanguageKeys.h`, written by the same script:",
        "`LangText[lang::DVeicoliCaption]`.",
        "",
        "| Index | Key | Name in the program | Role | Italian text |",
        "|---|---|---|---|---|",
    ]
    for i, (key, role, it, _en, _es) in enumerate(TEXTS):
        cell = it.replace("|", "\\|")
        out.append(f"| {i} | `{key}` | `lang::{constant_name(key)}` | {role} | {cell} |")
    path.write_text("\n".join(out) + "\n", encoding="utf-8")


def main():
    check()
    root = pathlib.Path(__file__).resolve().parent.parent
    write_ini(root / "data" / "Lingua.ini")
    write_header(root / "src" / "shell" / "LanguageKeys.h")
    write_doc(root / "docs" / "language-keys.md")


if __name__ == "__main__":
    main()
